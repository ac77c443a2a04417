// Feeds arbitrary bytes to CXmlReader::LoadText, then walks every element the way the feed reader
// does: finds, enters, leaves, and reads texts and start-tag values at each step.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "search/xml_reader.h"

namespace {

// Visits the children of the element the cursor stands in, depth first, within a step budget.
void Walk(tunova::CXmlReader& doc, int& budget) {
    while (budget-- > 0 && doc.FindSibling()) {
        (void)doc.ElementText();
        (void)doc.StartTagValue("href=");
        (void)doc.StartTagValue("seconds=");
        if (doc.EnterElement()) {
            Walk(doc, budget);
            doc.LeaveElement();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    tunova::CXmlReader doc;
    const bool loaded = doc.LoadText(text);
    (void)doc.ErrorText();
    int budget = 4096;
    Walk(doc, budget);

    // The reader's own sequence of named finds, including the "title type" prefix rule.
    doc.ResetPosition();
    if (loaded && doc.FindSibling() && doc.EnterElement()) {
        doc.FindSibling("openSearch:totalResults");
        (void)doc.ElementText();
        for (int i = 0; i < 64 && doc.FindSibling("entry"); ++i) {
            doc.EnterElement();
            for (std::string_view name : {"updated", "title type", "content", "link"}) {
                doc.FindSibling(name);
                (void)doc.ElementText();
            }
            (void)doc.StartTagValue("href=");
            doc.FindSibling("media:group");
            if (doc.EnterElement()) {
                doc.FindSibling("yt:duration");
                (void)doc.StartTagValue("seconds=");
            }
            doc.LeaveElement();
            doc.LeaveElement();
        }
    }
    return 0;
}
