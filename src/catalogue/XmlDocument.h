#pragma once
// One of the two embedded XML documents (the driver catalogue or the manufacturer records), parsed
// once at start-up and read-only afterwards. The parser stays behind this class so that the
// application core can own the documents without seeing it.
#include <memory>

namespace catalogue {

class DocumentData;

class XmlDocument {
public:
    XmlDocument();
    ~XmlDocument();
    // Models and records refer to the document by address, so it never moves.
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    // Set after the first parse, successful or not; a document is parsed at most once.
    bool loaded() const noexcept;

    DocumentData& data() noexcept { return *data_; }
    const DocumentData& data() const noexcept { return *data_; }

private:
    std::unique_ptr<DocumentData> data_;
};

} // namespace catalogue
