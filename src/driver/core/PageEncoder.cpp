#include "driver/core/PageEncoder.h"

namespace driver {

Bytes encodePage(CommandLanguage language, const PageSurface& page, const JobSettings& job) {
    switch (language) {
    case CommandLanguage::Tspl:
        return encodeTspl(page, job);
    case CommandLanguage::Zpl:
        return encodeZpl(page, job);
    case CommandLanguage::Cpcl:
        return encodeCpcl(page, job);
    case CommandLanguage::EscPos:
        return encodeEscPos(page, job);
    }
    return {};
}

} // namespace driver
