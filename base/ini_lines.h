#pragma once
// INI text split into lines, each told apart as blank, comment, section
// header, key=value entry or anything else. The readers of the skin file and
// of the scores file share this, and each keeps its own rules on what ends a
// line, what is trimmed, what starts a comment and what a header may hold:
// skin files from Windows editors and scores files written by Qt's settings
// are both read as they always were.
//
// Lines are views into the text, read one at a time so that a file of
// millions of empty lines costs no more memory than its text; bytes are kept
// as they are (a title may be Windows-1251 or UTF-8). A line has no length
// limit of its own: the callers bound the whole file before reading it.

#include <optional>
#include <string_view>

namespace pellox {

struct IniDialect {
    // A lone CR ends a line as LF and CR LF do (files from old Mac and odd
    // Windows editors); when false only LF ends one and a CR before it is
    // part of the line, to be trimmed.
    bool cr_ends_line = true;
    // The bytes trimmed from both ends of a line, a section name, a key and
    // a value.
    bool (*is_trimmed)(unsigned char byte) = nullptr;
    // The characters that start a comment line (after trimming).
    std::string_view comment_marks = ";";
    // Whether a header "[...]" may hold "[" or "]" inside its brackets.
    bool brackets_inside_header = true;
};

enum class IniLineKind { Blank, Comment, Section, Entry, Other };

struct IniLine {
    std::string_view raw;     // the line as written, without its end
    std::string_view ending;  // "\r\n", "\n", "\r", or empty for a last line without one
    std::string_view text;    // the line trimmed
    IniLineKind kind = IniLineKind::Blank;
    std::string_view section;  // Section: the name inside the brackets, trimmed
    std::string_view key;      // Entry: before the first "=", trimmed (may be empty)
    std::string_view value;    // Entry: after it, trimmed
};

// The lines of text in order. A line end at the very end starts no further,
// empty line.
class IniLineReader {
public:
    IniLineReader(std::string_view text, const IniDialect& dialect) : rest_(text), dialect_(dialect) {}

    // The next line; nothing after the last.
    std::optional<IniLine> Next();

private:
    std::string_view rest_;
    const IniDialect& dialect_;
};

}  // namespace pellox
