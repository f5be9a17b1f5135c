#include "app/PersistedChoices.h"

namespace app {

void loadPersistedChoices(ports::ProfileStore& profile, SetupSession& session) {
    session.setupMode = profile.readInt(kProfileSection, kValueSetupMode, setup_mode::Install);
    session.portType = profile.readInt(kProfileSection, kValueSetupPortType, port_type::Usb);
    session.chosen.modelName = profile.readString(kProfileSection, kValueSetupPrinter, L"");
    session.savedManufacturer = profile.readString(kProfileSection, kValueManufacturer, L"");
    session.savedUpgradePrinter = profile.readString(kProfileSection, kValueUpgradePrinter, L"");
    session.savedDeletePrinter = profile.readString(kProfileSection, kValueDeletePrinter, L"");
}

} // namespace app
