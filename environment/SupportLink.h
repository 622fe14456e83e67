#pragma once

#include <cstdint>
#include <string>

// The maker's support-ticket page.
std::string SupportTicketUrl();

// Opens the page in the default browser; a failure is not reported.
void OpenSupportTicketPage(std::uintptr_t owner);
