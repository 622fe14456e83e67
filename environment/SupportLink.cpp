#include "SupportLink.h"

#include "MakerInfo.h"
#include "platform/Platform.h"

std::string SupportTicketUrl() {
    return std::string("https://") + VELK_SUPPORT_HOST + "/support/openticket";
}

void OpenSupportTicketPage(std::uintptr_t owner) {
    constexpr int ShowHidden = 0;
    Platform().Shell->Execute(owner, "open", SupportTicketUrl(), ShowHidden);
}
