// CXmlReader: a small XML reader over CP949 text. LoadText builds one position record per element
// in a single pass; the reads then cut strings out of the stored text through a cursor of
// (parent, current, child) record indices. It understands elements, skips processing
// instructions, comments, CDATA sections and document types, decodes the five predefined
// entities, and reads a start tag's values as plain text. One instance belongs to one thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tunova {

class CXmlReader {
  public:
    // Starts with an empty document (no root; every find fails).
    CXmlReader();

    // Replaces the document with `text` and parses its first top-level element. Returns false
    // (ErrorText() says why; empty for an empty text) when no complete root element is there.
    // Texts of 2 GiB or more are refused. Nesting depth is limited only by the text's length.
    bool LoadText(std::string_view text);
    // Puts the cursor back at document level.
    void ResetPosition();
    // Moves forward to the next sibling element named `name` (empty: any element); false and
    // no move when there is none. A wanted name matches an element whose name is its prefix
    // ending at end, space, '=', '/' or '[' ("title type" finds <title type='text'>).
    bool FindSibling(std::string_view name = {});
    // Steps inside the current element, before its first child; false at document level.
    bool EnterElement();
    // Steps back out to the element entered last; false at document level.
    bool LeaveElement();
    // Text of the current element with the five entities decoded, or a CDATA section's text
    // as written; empty for an element that has children or is self-closing.
    std::string ElementText() const;
    // The value after `key` (with its '=', e.g. "href=") in the current start tag, read as
    // plain text up to the first "/>" in the document; empty when the key is absent.
    std::string StartTagValue(std::string_view key) const;
    // The whole stored document.
    const std::string& DocumentText() const { return text_; }
    // Why the last LoadText failed; one of nine fixed messages.
    const std::string& ErrorText() const { return errorText_; }

  private:
    // Fields are set as the parser reaches them; records are not zeroed when allocated.
    struct ElementPos {
        std::uint32_t tagOpen;      // '<' of the start tag
        std::uint32_t tagClose;     // '>' of the start tag
        std::uint32_t endOpen;      // '<' of the end tag ('/' of "/>" when self-closing)
        std::uint32_t endClose;     // '>' of the end tag
        std::uint32_t parent;       // 0: the document
        std::uint32_t firstChild;   // 0: none
        std::uint32_t nextSibling;  // 0: none
    };
    // A growable array of records that never shrinks and leaves new records uninitialised.
    class RecordArray {
      public:
        std::size_t size() const { return size_; }
        void Grow(std::size_t size);
        ElementPos& operator[](std::size_t i) { return data_[i]; }
        const ElementPos& operator[](std::size_t i) const { return data_[i]; }

      private:
        std::unique_ptr<ElementPos[]> data_;
        std::size_t size_ = 0;
    };
    struct TokenCursor {
        std::size_t left = 0;   // first character of the token
        std::size_t right = 0;  // last character of the token (inclusive)
        std::size_t next = 0;   // where the next scan starts
        bool quoted = false;
    };

    bool ParseDocument();
    bool FinishEndTag(std::uint32_t index, std::string_view name);
    std::uint32_t NewRecord(std::uint32_t parent);
    bool Fail(std::string_view message, std::uint32_t element = 0);
    bool NextToken(TokenCursor& cursor) const;
    std::string_view NameOf(std::uint32_t index) const;
    bool TokenMatches(const TokenCursor& token, std::string_view name) const;
    std::size_t SkipNode(std::size_t tagOpen) const;
    std::string DecodeText(std::size_t left, std::size_t right) const;

    std::string text_;
    std::string errorText_;
    RecordArray positions_;
    std::uint32_t nextFree_ = 1;
    std::uint32_t parentIndex_ = 0;
    std::uint32_t currentIndex_ = 0;
    std::uint32_t childIndex_ = 0;
    int nodeKind_ = 0;
};

}  // namespace tunova
