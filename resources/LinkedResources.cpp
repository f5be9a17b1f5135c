// The table of the blobs that linked_resources.S places in the program.
#include "platform/blob/EmbeddedResources.h"

extern "C" {
extern const std::uint8_t orvello_res_catalogue[], orvello_res_catalogue_end[];
extern const std::uint8_t orvello_res_manufacturers[], orvello_res_manufacturers_end[];
extern const std::uint8_t orvello_res_skin[], orvello_res_skin_end[];
}

namespace blob {

std::vector<ResourceEntry> linkedResources() {
    auto span = [](const std::uint8_t* b, const std::uint8_t* e) {
        return std::span<const std::uint8_t>(b, static_cast<size_t>(e - b));
    };
    return {
        {L"XML", ports::kResourceCatalogue, span(orvello_res_catalogue, orvello_res_catalogue_end)},
        {L"XML", ports::kResourceManufacturers,
         span(orvello_res_manufacturers, orvello_res_manufacturers_end)},
        {L"ZIPRES", ports::kResourceSkin, span(orvello_res_skin, orvello_res_skin_end)},
    };
}

} // namespace blob
