#include "ServiceFrame.h"

#include "DorServices.h"
#include "platform/SystemErrorText.h"

std::string ServiceErrorText(std::uint32_t code) {
    std::string text = SystemErrorText(*Platform().System, code);
    if (text.empty()) text = "System error " + std::to_string(code);
    return text;
}

void PauseBetweenPolls(IServiceControl& scm) {
    if (ServiceWaitCallback) {
        ServiceWaitCallback();
        scm.Sleep(100);
    } else {
        scm.Sleep(1000);
    }
}
