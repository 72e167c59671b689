#include "ui/controls/edit_text_buffer.h"

#include <algorithm>
#include <cwctype>

namespace kodaro::ui {

namespace {

constexpr char32_t kZeroWidthJoiner = 0x200D;

bool IsHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// The code point at pos and its length in UTF-16 units (a lone surrogate is
// a code point of its own).
char32_t CodePointAt(std::wstring_view text, std::size_t pos, std::size_t* length) {
    const wchar_t c = text[pos];
    if (IsHighSurrogate(c) && pos + 1 < text.size() && IsLowSurrogate(text[pos + 1])) {
        *length = 2;
        return 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) +
               (static_cast<char32_t>(text[pos + 1]) - 0xDC00);
    }
    *length = 1;
    return c;
}

std::size_t PreviousCodePoint(std::wstring_view text, std::size_t pos) {
    if (pos >= 2 && IsLowSurrogate(text[pos - 1]) && IsHighSurrogate(text[pos - 2])) {
        return pos - 2;
    }
    return pos - 1;
}

bool IsRegionalIndicator(char32_t cp) {
    return cp >= 0x1F1E6 && cp <= 0x1F1FF;
}

// Code points that belong to the character before them.
bool IsExtender(char32_t cp) {
    return (cp >= 0x0300 && cp <= 0x036F) ||   // combining diacritical marks
           (cp >= 0x1AB0 && cp <= 0x1AFF) ||   // their extension
           (cp >= 0x1DC0 && cp <= 0x1DFF) ||   // and supplement
           (cp >= 0x20D0 && cp <= 0x20FF) ||   // marks for symbols, the keycap
           (cp >= 0xFE00 && cp <= 0xFE0F) ||   // variation selectors
           (cp >= 0xFE20 && cp <= 0xFE2F) ||   // half marks
           (cp >= 0x1F3FB && cp <= 0x1F3FF) || // skin tones
           (cp >= 0xE0020 && cp <= 0xE007F) || // emoji tags
           (cp >= 0xE0100 && cp <= 0xE01EF);   // variation selectors supplement
}

// Whether a character certainly starts at pos, so that a walk forward from
// there finds the same boundaries as one from the line's start.
bool CertainStart(std::wstring_view text, std::size_t pos) {
    std::size_t length = 0;
    const char32_t cp = CodePointAt(text, pos, &length);
    if (IsExtender(cp) || cp == kZeroWidthJoiner || IsRegionalIndicator(cp)) {
        return false;
    }
    return pos == 0 || text[PreviousCodePoint(text, pos)] != kZeroWidthJoiner;
}

// Classes of Control+Left/Right: blanks, letters and digits, and the rest.
int WordClass(wchar_t c) {
    if (std::iswspace(c)) {
        return 0;
    }
    if (IsWordCharacter(c) || (c >= 0x80 && std::iswalnum(c))) {
        return 1;
    }
    return 2;
}

} // namespace

std::size_t NextCharacterEnd(std::wstring_view line, std::size_t pos) {
    if (pos >= line.size()) {
        return line.size();
    }
    std::size_t length = 0;
    const char32_t first = CodePointAt(line, pos, &length);
    pos += length;
    if (IsRegionalIndicator(first) && pos < line.size()) {
        if (IsRegionalIndicator(CodePointAt(line, pos, &length))) {
            return pos + length;
        }
    }
    while (pos < line.size()) {
        const char32_t cp = CodePointAt(line, pos, &length);
        if (IsExtender(cp)) {
            pos += length;
        } else if (cp == kZeroWidthJoiner) {
            pos += length;
            if (pos < line.size()) {
                CodePointAt(line, pos, &length);
                pos += length;
            }
        } else {
            break;
        }
    }
    return pos;
}

std::size_t PreviousCharacterStart(std::wstring_view line, std::size_t pos) {
    pos = std::min(pos, line.size());
    if (pos == 0) {
        return 0;
    }
    std::size_t start = pos;
    do {
        start = PreviousCodePoint(line, start);
    } while (start > 0 && !CertainStart(line, start));
    for (;;) {
        const std::size_t next = NextCharacterEnd(line, start);
        if (next >= pos) {
            return start;
        }
        start = next;
    }
}

bool IsWordCharacter(wchar_t c) {
    return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

std::wstring FilterInput(std::wstring_view text, int inputType, bool multiLine, bool hasDot) {
    std::wstring out;
    out.reserve(text.size());
    const bool numeric = inputType == kEditDigits || inputType == kEditDecimal;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            if (!multiLine) {
                break;
            }
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') {
                ++i;
            }
            if (!numeric) {
                out += L"\r\n";
            }
            continue;
        }
        if (numeric) {
            if (c >= L'0' && c <= L'9') {
                out += c;
            } else if (c == L'.' && inputType == kEditDecimal && !hasDot) {
                out += c;
                hasDot = true;
            }
            continue;
        }
        if ((c < 0x20 && c != L'\t') || c == 0x7F || (c >= 0x80 && c <= 0x9F)) {
            continue;
        }
        out += c;
    }
    return out;
}

EditTextBuffer::EditTextBuffer() : lines_(1) {}

void EditTextBuffer::Password(bool on, std::wstring passwordChar) {
    password_ = on;
    passwordChar_ = std::move(passwordChar);
    InvalidateLayouts();
}

int EditTextBuffer::Clamp(int line) const {
    return std::clamp(line, 0, static_cast<int>(lines_.size()) - 1);
}

std::vector<std::wstring> EditTextBuffer::SplitLines(std::wstring_view text) {
    std::vector<std::wstring> parts(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') {
                ++i;
            }
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

void EditTextBuffer::SetText(std::wstring_view text) {
    lines_.clear();
    for (std::wstring& part : SplitLines(text)) {
        lines_.push_back({std::move(part), {}});
        if (!multiLine_) {
            break;
        }
    }
}

std::wstring EditTextBuffer::Text() const {
    std::wstring text;
    text.reserve(Length());
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (i > 0) {
            text += L"\r\n";
        }
        text += lines_[i].text;
    }
    return text;
}

std::size_t EditTextBuffer::Length() const {
    std::size_t length = 2 * (lines_.size() - 1);
    for (const Entry& entry : lines_) {
        length += entry.text.size();
    }
    return length;
}

std::wstring EditTextBuffer::DisplayLine(int line) const {
    const std::wstring& text = Line(line);
    if (!password_) {
        return text;
    }
    std::wstring shown;
    for (std::size_t pos = 0; pos < text.size(); pos = NextCharacterEnd(text, pos)) {
        shown += passwordChar_;
    }
    return shown;
}

TextPosition EditTextBuffer::End() const {
    const int last = LineCount() - 1;
    return {last, LineLength(last)};
}

TextPosition EditTextBuffer::Valid(TextPosition at) const {
    at.line = Clamp(at.line);
    const std::wstring& text = lines_[at.line].text;
    at.column = std::clamp(at.column, 0, static_cast<int>(text.size()));
    const std::size_t start = PreviousCharacterStart(text, at.column);
    if (NextCharacterEnd(text, start) != static_cast<std::size_t>(at.column)) {
        at.column = static_cast<int>(start);
    }
    return at;
}

TextPosition EditTextBuffer::Insert(TextPosition at, std::wstring_view text) {
    at = Valid(at);
    std::vector<std::wstring> parts = SplitLines(text);
    if (!multiLine_) {
        parts.resize(1);
    }
    Entry& entry = lines_[at.line];
    std::wstring tail = entry.text.substr(at.column);
    entry.text.erase(at.column);
    entry.text += parts[0];
    entry.layout.Touch(at.column);
    if (parts.size() == 1) {
        const TextPosition end{at.line, static_cast<int>(entry.text.size())};
        entry.text += tail;
        return end;
    }
    const TextPosition end{at.line + static_cast<int>(parts.size()) - 1,
                           static_cast<int>(parts.back().size())};
    parts.back() += tail;
    std::vector<Entry> added;
    added.reserve(parts.size() - 1);
    for (std::size_t i = 1; i < parts.size(); ++i) {
        added.push_back({std::move(parts[i]), {}});
    }
    lines_.insert(lines_.begin() + at.line + 1, std::make_move_iterator(added.begin()),
                  std::make_move_iterator(added.end()));
    return end;
}

void EditTextBuffer::Erase(TextPosition from, TextPosition to) {
    from = Valid(from);
    to = Valid(to);
    if (to < from) {
        std::swap(from, to);
    }
    if (from == to) {
        return;
    }
    Entry& first = lines_[from.line];
    if (from.line == to.line) {
        first.text.erase(from.column, to.column - from.column);
    } else {
        first.text.erase(from.column);
        first.text += lines_[to.line].text.substr(to.column);
        lines_.erase(lines_.begin() + from.line + 1, lines_.begin() + to.line + 1);
    }
    first.layout.Touch(from.column);
}

std::wstring EditTextBuffer::Range(TextPosition from, TextPosition to) const {
    from = Valid(from);
    to = Valid(to);
    if (to < from) {
        std::swap(from, to);
    }
    if (from.line == to.line) {
        return lines_[from.line].text.substr(from.column, to.column - from.column);
    }
    std::wstring text = lines_[from.line].text.substr(from.column);
    for (int line = from.line + 1; line < to.line; ++line) {
        text += L"\r\n";
        text += lines_[line].text;
    }
    text += L"\r\n";
    text += lines_[to.line].text.substr(0, to.column);
    return text;
}

std::size_t EditTextBuffer::IndexOf(TextPosition at) const {
    at = Valid(at);
    std::size_t index = 0;
    for (int line = 0; line < at.line; ++line) {
        index += lines_[line].text.size() + 2;
    }
    return index + at.column;
}

TextPosition EditTextBuffer::PositionOf(std::size_t index) const {
    for (int line = 0; line < LineCount(); ++line) {
        const std::size_t length = lines_[line].text.size();
        if (index <= length) {
            return Valid({line, static_cast<int>(index)});
        }
        index -= length;
        // An index inside the "\r\n" counts as the end of the line.
        if (index < 2) {
            return {line, static_cast<int>(length)};
        }
        index -= 2;
    }
    return End();
}

bool EditTextBuffer::HasDotOutside(TextPosition from, TextPosition to) const {
    if (to < from) {
        std::swap(from, to);
    }
    for (int line = 0; line < LineCount(); ++line) {
        const std::wstring& text = lines_[line].text;
        for (int column = 0; column < static_cast<int>(text.size()); ++column) {
            const TextPosition here{line, column};
            if (text[column] == L'.' && (here < from || !(here < to))) {
                return true;
            }
        }
    }
    return false;
}

TextPosition EditTextBuffer::Previous(TextPosition at) const {
    at = Valid(at);
    if (at.column > 0) {
        return {at.line, static_cast<int>(PreviousCharacterStart(Line(at.line), at.column))};
    }
    if (at.line > 0) {
        return {at.line - 1, LineLength(at.line - 1)};
    }
    return at;
}

TextPosition EditTextBuffer::Next(TextPosition at) const {
    at = Valid(at);
    if (at.column < LineLength(at.line)) {
        return {at.line, static_cast<int>(NextCharacterEnd(Line(at.line), at.column))};
    }
    if (at.line + 1 < LineCount()) {
        return {at.line + 1, 0};
    }
    return at;
}

TextPosition EditTextBuffer::NextWord(TextPosition at) const {
    at = Valid(at);
    const std::wstring& text = Line(at.line);
    if (at.column >= static_cast<int>(text.size())) {
        return Next(at);
    }
    std::size_t pos = at.column;
    const int cls = WordClass(text[pos]);
    while (pos < text.size() && cls != 0 && WordClass(text[pos]) == cls) {
        pos = NextCharacterEnd(text, pos);
    }
    while (pos < text.size() && WordClass(text[pos]) == 0) {
        pos = NextCharacterEnd(text, pos);
    }
    return {at.line, static_cast<int>(pos)};
}

TextPosition EditTextBuffer::PreviousWord(TextPosition at) const {
    at = Valid(at);
    if (at.column == 0) {
        return Previous(at);
    }
    const std::wstring& text = Line(at.line);
    std::size_t pos = at.column;
    while (pos > 0 && WordClass(text[pos - 1]) == 0) {
        pos = PreviousCharacterStart(text, pos);
    }
    if (pos > 0) {
        const int cls = WordClass(text[PreviousCharacterStart(text, pos)]);
        while (pos > 0 && WordClass(text[PreviousCharacterStart(text, pos)]) == cls) {
            pos = PreviousCharacterStart(text, pos);
        }
    }
    return {at.line, static_cast<int>(pos)};
}

std::pair<TextPosition, TextPosition> EditTextBuffer::WordAt(TextPosition at) const {
    at = Valid(at);
    const std::wstring& text = Line(at.line);
    int start = at.column;
    int end = at.column;
    while (start > 0 && IsWordCharacter(text[start - 1])) {
        --start;
    }
    while (end < static_cast<int>(text.size()) && IsWordCharacter(text[end])) {
        ++end;
    }
    if (end > start) {
        // A mark after the last letter belongs to it.
        end = static_cast<int>(NextCharacterEnd(text, end - 1));
    }
    return {{at.line, start}, {at.line, end}};
}

void EditTextBuffer::InvalidateLayouts() {
    for (Entry& entry : lines_) {
        entry.layout.Touch(0);
    }
}

} // namespace kodaro::ui
