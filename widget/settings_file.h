// The settings file object: every part of the widget reads and writes Options.ini through this interface.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace nimbo {

// Raised when the system refuses a write or an erase; the rest of that group of writes is skipped.
class SettingsWriteError : public std::runtime_error {
public:
    explicit SettingsWriteError(const std::string& fileName);
};

using KeyValueList = std::vector<std::pair<std::string, std::string>>;

// No cache: every read goes to the file and every write changes it at once. Texts are UTF-8 here; on disk the
// file is UTF-16LE with a byte-order mark. An ANSI file (older versions) is read through the system's code page
// and rewritten as UTF-16LE by its first write.
class SettingsFile {
public:
    static constexpr size_t kMaxValueLength = 2047;

    virtual ~SettingsFile() = default;

    virtual const std::string& FileName() const = 0;

    virtual std::string ReadString(const std::string& section, const std::string& key,
                                   const std::string& defaultValue) const = 0;
    // A section, key or value holding CR, LF or NUL would end its line in the file and could forge keys and
    // sections, so it is refused: nothing is written, the stored value stays, and the result is false. Callers
    // go on with their other writes, so a refusal never costs more than that one value. A write the system
    // refuses throws SettingsWriteError.
    bool WriteString(const std::string& section, const std::string& key, const std::string& value);
    // Key names of a section, in file order.
    virtual std::vector<std::string> ReadSection(const std::string& section) const = 0;
    virtual void EraseSection(const std::string& section) = 0;
    // Replaces every key of a section with `pairs`, in their order, in one write: a write the system refuses
    // leaves the section as it was. The section is added when missing; an empty list erases it. Refused as a
    // whole, like WriteString, when any name or value holds CR, LF or NUL.
    bool WriteSection(const std::string& section, const KeyValueList& pairs);
    virtual void UpdateFile() = 0;

    virtual bool Exists() const = 0;
    // The whole file as UTF-8, decoded as the reads decode it; empty without a file.
    virtual std::string ReadText() const = 0;
    // Creates the file, and the folders on its path, as UTF-16LE holding `text`; a file already there is kept.
    virtual void CreateWithText(const std::string& text) = 0;

    // A missing key or a text that is no number yields the default.
    int32_t ReadInteger(const std::string& section, const std::string& key, int32_t defaultValue) const;
    // Read as an integer: any value other than 0 is true.
    bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;
    void WriteInteger(const std::string& section, const std::string& key, int32_t value);
    void WriteBool(const std::string& section, const std::string& key, bool value);
    KeyValueList ReadSectionValues(const std::string& section) const;

protected:
    // Writes a value that is one line; false when the backend refuses it for a reason of its own.
    virtual bool StoreString(const std::string& section, const std::string& key, const std::string& value) = 0;
    // Replaces a section with pairs that are each one line.
    virtual void StoreSection(const std::string& section, const KeyValueList& pairs) = 0;
};

// The integer forms the settings file accepts: decimal with an optional sign, and hexadecimal after "$" or "0x".
bool ParseSettingsInteger(const std::string& text, int32_t& value);

}  // namespace nimbo
