#pragma once
// Ini file of sections and "key=value" lines. Sections and keys are matched
// case-insensitively and keep the order they were first written in; every write
// goes to the file at once (replacing it atomically), and reads see what any
// other TIniFile of this process has written to the same file.
#include <QString>
#include <QStringList>
#include <memory>

class TIniFile {
public:
    explicit TIniFile(const QString &fileName);
    virtual ~TIniFile();
    TIniFile(const TIniFile &) = delete;
    TIniFile &operator=(const TIniFile &) = delete;

    const QString &FileName() const { return FFileName; }

    QString ReadString(const QString &section, const QString &ident, const QString &def) const;
    void WriteString(const QString &section, const QString &ident, const QString &value);
    // Decimal, "$" or "0x" hexadecimal; anything else (or out of range) reads as def.
    int ReadInteger(const QString &section, const QString &ident, int def) const;
    void WriteInteger(const QString &section, const QString &ident, int value);
    // An integer other than 0 is true; a value that is not an integer reads as def.
    bool ReadBool(const QString &section, const QString &ident, bool def) const;
    void WriteBool(const QString &section, const QString &ident, bool value);
    // Accepts "." or "," as the decimal separator; writes ".".
    double ReadFloat(const QString &section, const QString &ident, double def) const;
    void WriteFloat(const QString &section, const QString &ident, double value);

    // Keys of a section, in file order.
    void ReadSection(const QString &section, QStringList &keys) const;
    void ReadSections(QStringList &sections) const;
    // "key=value" lines of a section.
    void ReadSectionValues(const QString &section, QStringList &values) const;
    bool SectionExists(const QString &section) const;
    bool ValueExists(const QString &section, const QString &ident) const;
    void EraseSection(const QString &section);
    void DeleteKey(const QString &section, const QString &ident);

    // Writes the file now. False when it cannot be written; the values stay in
    // memory and the next write tries again.
    bool UpdateFile();
    // Whether the last write reached the file.
    bool LastWriteOk() const { return FLastWriteOk; }

private:
    struct Data;
    void Refresh() const;
    void Changed();

    QString FFileName;
    std::unique_ptr<Data> D;
    bool FLastWriteOk = true;
};
