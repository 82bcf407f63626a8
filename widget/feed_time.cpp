// The feed's date reader with its fixed-place steps, and the time-of-day reader of the astronomy times.
#include "widget/feed_time.h"

#include <array>
#include <cstdint>
#include <string>

namespace nimbo {
namespace {

constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<std::string_view, 7> kWeekdays = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }
char ToLowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (ToLowerAscii(a[i]) != ToLowerAscii(b[i])) return false;
    }
    return true;
}

template <size_t N>
int PositionIgnoringCase(const std::array<std::string_view, N>& names, std::string_view name) {
    for (size_t i = 0; i < N; ++i) {
        if (EqualsIgnoringCase(names[i], name)) return static_cast<int>(i);
    }
    return -1;
}

enum class TokenKind { End, Word, Number, Symbol };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string_view text;
};

// Cuts the text on demand: blanks separate, words are [A-Za-z_][A-Za-z0-9_]*, numbers are digit runs, and any
// other character stands alone.
class Tokenizer {
public:
    explicit Tokenizer(std::string_view text) : m_text(text) { Next(); }

    const Token& Current() const { return m_current; }

    void Next() {
        while (m_pos < m_text.size() && IsBlank(m_text[m_pos])) ++m_pos;
        const size_t start = m_pos;
        if (m_pos >= m_text.size()) {
            m_current = Token{};
            return;
        }
        const char c = m_text[m_pos];
        TokenKind kind = TokenKind::Symbol;
        if (IsAsciiLetter(c) || c == '_') {
            kind = TokenKind::Word;
            while (m_pos < m_text.size() &&
                   (IsAsciiLetter(m_text[m_pos]) || IsDigit(m_text[m_pos]) || m_text[m_pos] == '_')) {
                ++m_pos;
            }
        } else if (IsDigit(c)) {
            kind = TokenKind::Number;
            while (m_pos < m_text.size() && IsDigit(m_text[m_pos])) ++m_pos;
        } else {
            ++m_pos;
        }
        m_current = Token{kind, m_text.substr(start, m_pos - start)};
    }

private:
    std::string_view m_text;
    size_t m_pos = 0;
    Token m_current;
};

// The low 16 bits of the number, which is what a 16-bit field keeps; any length of digits is safe.
uint16_t NumberValue(std::string_view digits) {
    uint16_t value = 0;
    for (char c : digits) value = static_cast<uint16_t>(value * 10u + static_cast<unsigned>(c - '0'));
    return value;
}

bool IsWord(const Token& t) { return t.kind == TokenKind::Word; }
bool IsNumber(const Token& t) { return t.kind == TokenKind::Number; }
bool IsSymbol(const Token& t, char c) { return t.kind == TokenKind::Symbol && t.text.size() == 1 && t.text[0] == c; }

// Reads one or two digits at `pos`.
std::optional<int> TwoDigits(std::string_view text, size_t& pos) {
    if (pos >= text.size() || !IsDigit(text[pos])) return std::nullopt;
    int value = text[pos++] - '0';
    if (pos < text.size() && IsDigit(text[pos])) value = value * 10 + (text[pos++] - '0');
    return value;
}

void SkipBlanks(std::string_view text, size_t& pos) {
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
}

}  // namespace

int EnglishMonthNumber(std::string_view name) {
    const int position = PositionIgnoringCase(kMonths, name);
    return position < 0 ? -1 : position + 1;
}

int EnglishWeekdayNumber(std::string_view name) { return PositionIgnoringCase(kWeekdays, name); }

bool ParseFeedTime(std::string_view text, SystemTime& t) {
    if (text.empty()) return false;
    t = SystemTime{};
    std::string marker;
    Tokenizer tokens(text);

    if (IsWord(tokens.Current())) t.dayOfWeek = static_cast<uint16_t>(EnglishWeekdayNumber(tokens.Current().text));
    tokens.Next();
    if (IsSymbol(tokens.Current(), ',')) tokens.Next();
    if (IsNumber(tokens.Current())) t.day = NumberValue(tokens.Current().text);
    tokens.Next();
    if (IsWord(tokens.Current())) t.month = static_cast<uint16_t>(EnglishMonthNumber(tokens.Current().text));
    tokens.Next();
    if (IsNumber(tokens.Current())) t.year = NumberValue(tokens.Current().text);
    tokens.Next();
    if (IsNumber(tokens.Current())) t.hour = NumberValue(tokens.Current().text);
    tokens.Next();
    if (IsSymbol(tokens.Current(), ':')) tokens.Next();
    if (IsNumber(tokens.Current())) t.minute = NumberValue(tokens.Current().text);
    tokens.Next();
    if (IsWord(tokens.Current())) {
        for (char c : tokens.Current().text) marker.push_back(ToLowerAscii(c));
    }

    if (t.hour == 12 && marker == "am") {
        t.hour = 0;
    } else if (t.hour != 12 && marker == "pm") {
        t.hour = static_cast<uint16_t>(t.hour + 12);
    }
    return true;
}

std::optional<TimeOfDay> ReadTimeOfDay(std::string_view text) {
    size_t pos = 0;
    SkipBlanks(text, pos);
    TimeOfDay time;
    const std::optional<int> hour = TwoDigits(text, pos);
    if (!hour || pos >= text.size() || text[pos] != ':') return std::nullopt;
    ++pos;
    const std::optional<int> minute = TwoDigits(text, pos);
    if (!minute) return std::nullopt;
    time.hour = *hour;
    time.minute = *minute;
    if (pos < text.size() && text[pos] == ':') {
        ++pos;
        const std::optional<int> second = TwoDigits(text, pos);
        if (!second) return std::nullopt;
        time.second = *second;
    }
    SkipBlanks(text, pos);
    std::string marker;
    while (pos < text.size() && IsAsciiLetter(text[pos])) marker.push_back(ToLowerAscii(text[pos++]));
    SkipBlanks(text, pos);
    if (pos != text.size() || time.minute > 59 || time.second > 59) return std::nullopt;

    if (marker.empty()) {
        if (time.hour > 23) return std::nullopt;
    } else if (marker == "am" || marker == "pm") {
        if (time.hour > 12) return std::nullopt;
        if (time.hour == 12) time.hour = 0;
        if (marker == "pm") time.hour += 12;
    } else {
        return std::nullopt;
    }
    return time;
}

}  // namespace nimbo
