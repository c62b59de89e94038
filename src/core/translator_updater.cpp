// The updater base class.
#include "host/core/translator_updater.h"

namespace vaq {

TVaqTranslatorUpdater::TVaqTranslatorUpdater() = default;
TVaqTranslatorUpdater::~TVaqTranslatorUpdater() = default;

}  // namespace vaq
