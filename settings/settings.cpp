#include "settings/settings.h"

namespace qv {

SettingsRecord Settings;

}  // namespace qv
