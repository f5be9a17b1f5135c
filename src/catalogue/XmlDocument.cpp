#include "catalogue/XmlDocument.h"

#include "catalogue/DocumentData.h"

namespace catalogue {

XmlDocument::XmlDocument() : data_(std::make_unique<DocumentData>()) {}

XmlDocument::~XmlDocument() = default;

bool XmlDocument::loaded() const noexcept {
    return data_->loaded;
}

} // namespace catalogue
