// The text of an edit box: its lines, positions within them, the characters a
// user sees (a surrogate pair or a letter with its combining marks is one), and
// which typed or pasted characters an input type accepts.
#pragma once

#include <algorithm>
#include <compare>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kodaro::ui {

// What a box lets the user enter.
enum EditInputType : int {
    kEditNormal = 0,
    kEditReadOnly = 1,
    kEditPassword = 2,
    kEditDigits = 3,  // "0" to "9"
    kEditDecimal = 4, // "0" to "9" and one "."
};

// A place in the text: line and column from 0; the column counts UTF-16 units
// and always lies on a character boundary.
struct TextPosition {
    int line = 0;
    int column = 0;
    auto operator<=>(const TextPosition&) const = default;
};

// Character boundaries within one line: the end of the character that starts
// at pos, and the start of the character that ends at pos. A character is a
// code point with the marks, variation selectors, skin tones and joined
// emoji that follow it, or a pair of regional indicators (a flag).
std::size_t NextCharacterEnd(std::wstring_view line, std::size_t pos);
std::size_t PreviousCharacterStart(std::wstring_view line, std::size_t pos);

// Word characters of a double click: ASCII letters and digits only.
bool IsWordCharacter(wchar_t c);

// What of text a user may enter into a box of the input type: the line breaks
// of a multi-line box (as "\r\n"), tabs and every printable character for the
// normal types; digits for type 3; digits and, when the text outside the
// replaced part has none yet, one "." for type 4. Control characters and DEL
// are dropped; a single-line box keeps only the first line.
std::wstring FilterInput(std::wstring_view text, int inputType, bool multiLine, bool hasDot);

// x of every character boundary of one line (first 0), as measured on screen;
// filled and cached by the box, dropped when the line changes.
struct LineLayout {
    std::vector<int> bounds;    // columns of the boundaries, from 0 to the line length
    std::vector<float> xs;      // x of each boundary, non-decreasing
    std::vector<float> origins; // where each drawn piece's first glyph starts
    bool valid = false;
    // After an edit, the measurements of the text before this column still
    // hold: only what follows is measured again.
    int unchangedBefore = 0;
    // Marks the line as edited from column on.
    void Touch(int column) {
        unchangedBefore = valid ? column : std::min(unchangedBefore, column);
        valid = false;
    }
    float Width() const { return xs.empty() ? 0.0f : xs.back(); }
};

class EditTextBuffer {
public:
    EditTextBuffer();

    // A single-line buffer keeps only the first line of what it is given.
    bool MultiLine() const { return multiLine_; }
    void MultiLine(bool value) { multiLine_ = value; }
    // Display of a password box: one password character per character.
    void Password(bool on, std::wstring passwordChar);
    bool Password() const { return password_; }

    // Replaces the whole text. "\r\n", "\n" and "\r" all end a line.
    void SetText(std::wstring_view text);
    // The lines joined with "\r\n".
    std::wstring Text() const;
    bool Empty() const { return lines_.size() == 1 && lines_[0].text.empty(); }
    // Length of Text() in UTF-16 units.
    std::size_t Length() const;

    int LineCount() const { return static_cast<int>(lines_.size()); }
    const std::wstring& Line(int line) const { return lines_[Clamp(line)].text; }
    int LineLength(int line) const { return static_cast<int>(Line(line).size()); }
    // What is drawn for the line (password characters in a password box).
    std::wstring DisplayLine(int line) const;
    TextPosition End() const;
    // The nearest valid position: line and column clamped, column moved back
    // to a character boundary.
    TextPosition Valid(TextPosition at) const;

    // Inserts text (line breaks as in SetText) and returns the position after
    // it. A single-line buffer inserts only the first line of text.
    TextPosition Insert(TextPosition at, std::wstring_view text);
    // Removes the text between two positions (in either order).
    void Erase(TextPosition from, TextPosition to);
    // The text between two positions (in either order), lines joined with "\r\n".
    std::wstring Range(TextPosition from, TextPosition to) const;

    // Position <-> index into Text().
    std::size_t IndexOf(TextPosition at) const;
    TextPosition PositionOf(std::size_t index) const;

    // Whether the text outside [from, to) holds a ".".
    bool HasDotOutside(TextPosition from, TextPosition to) const;

    // The position one character before or after at (across line ends).
    TextPosition Previous(TextPosition at) const;
    TextPosition Next(TextPosition at) const;
    // Start of the previous word / next word, as Control+Left/Right move.
    TextPosition PreviousWord(TextPosition at) const;
    TextPosition NextWord(TextPosition at) const;
    // The run of word characters around at (empty when there is none).
    std::pair<TextPosition, TextPosition> WordAt(TextPosition at) const;

    // The cached layout of a line (invalid until the box measures it).
    LineLayout& Layout(int line) { return lines_[Clamp(line)].layout; }
    void InvalidateLayouts();

private:
    struct Entry {
        std::wstring text;
        LineLayout layout;
    };

    int Clamp(int line) const;
    static std::vector<std::wstring> SplitLines(std::wstring_view text);

    std::vector<Entry> lines_;
    bool multiLine_ = false;
    bool password_ = false;
    std::wstring passwordChar_ = L"*";
};

} // namespace kodaro::ui
