#pragma once

#include "platform/Form.h"

// The main window's controls: names, kinds, places, designed captions and limits.
TFormLayout MainFormLayout();
