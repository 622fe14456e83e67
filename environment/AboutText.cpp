#include "AboutText.h"

#include "InstalledVersions.h"
#include "MakerInfo.h"
#include "QelGlobals.h"
#include "translation/DorTranslation.h"

std::string AboutText() {
    return ProductName + " V7\r\r" + "\xA9 " VELK_MAKER_YEARS " " VELK_MAKER_COMPANY "\r" +
           VELK_MAKER_STREET "\r" VELK_MAKER_TOWN "\r" VELK_MAKER_COUNTRY "\r\r" +
           Translate("pas.language.qelinfo.installedversions", "Installed versions:") + "\r\r" +
           InstalledVersionsText();
}
