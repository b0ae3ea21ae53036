#pragma once
// Ini files of sections and "key=value" lines. Sections and keys are matched
// case-insensitively and keep the order they were first written in; comments and
// blank lines of an existing file are kept.
//
// TIniFile writes every change to its file at once (replacing it atomically), and
// its reads see what any other TIniFile of this process wrote to the same file.
// TMemIniFile works in memory and writes only on UpdateFile.
//
// A file that cannot be written is not an error: the values stay in memory and
// LastWriteOk() says so.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

class TCustomIniFile {
public:
    explicit TCustomIniFile(const QString &fileName);
    virtual ~TCustomIniFile();
    TCustomIniFile(const TCustomIniFile &) = delete;
    TCustomIniFile &operator=(const TCustomIniFile &) = delete;

    const QString &FileName() const { return FFileName; }

    virtual QString ReadString(const QString &section, const QString &ident, const QString &def) const;
    virtual void WriteString(const QString &section, const QString &ident, const QString &value);
    // Keys of a section, in file order.
    virtual void ReadSection(const QString &section, QStringList &keys) const;
    virtual void ReadSections(QStringList &sections) const;
    // "key=value" lines of a section.
    virtual void ReadSectionValues(const QString &section, QStringList &values) const;
    virtual void EraseSection(const QString &section);
    virtual void DeleteKey(const QString &section, const QString &ident);
    bool SectionExists(const QString &section) const;
    bool ValueExists(const QString &section, const QString &ident) const;

    // Decimal, "$" or "0x" hexadecimal; anything else (or out of range) reads as def.
    int ReadInteger(const QString &section, const QString &ident, int def) const;
    void WriteInteger(const QString &section, const QString &ident, int value);
    // An integer other than 0 is true; a value that is not an integer reads as def.
    bool ReadBool(const QString &section, const QString &ident, bool def) const;
    void WriteBool(const QString &section, const QString &ident, bool value);
    // Accepts "." or "," as the decimal separator; writes ".".
    double ReadFloat(const QString &section, const QString &ident, double def) const;
    void WriteFloat(const QString &section, const QString &ident, double value);
    // Date-times are days since 1899-12-30 with the time as the fraction, written as
    // "yyyy-MM-dd", "yyyy-MM-dd HH:mm:ss" and "HH:mm:ss"; other text reads as def.
    double ReadDate(const QString &section, const QString &ident, double def) const;
    void WriteDate(const QString &section, const QString &ident, double value);
    double ReadDateTime(const QString &section, const QString &ident, double def) const;
    void WriteDateTime(const QString &section, const QString &ident, double value);
    double ReadTime(const QString &section, const QString &ident, double def) const;
    void WriteTime(const QString &section, const QString &ident, double value);
    // Bytes as hexadecimal text. Read answers the number of bytes (0 when the value
    // is missing or not hexadecimal, leaving value empty).
    int ReadBinaryStream(const QString &section, const QString &ident, QByteArray &value) const;
    void WriteBinaryStream(const QString &section, const QString &ident, const QByteArray &value);

    // The whole file as lines, and replacing it by lines.
    QStringList GetStrings() const;
    void SetStrings(const QStringList &lines);

    // Writes the file now; false when it cannot be written.
    virtual bool UpdateFile();
    // Whether the last write reached the file.
    bool LastWriteOk() const { return FLastWriteOk; }

protected:
    struct Data;
    // Called before every read and every change, and after every change.
    virtual void BeforeAccess() const {}
    virtual void Changed() {}
    Data &Model() const { return *D; }
    // Reloads the model from the file (an empty model when there is none).
    void LoadFromFile() const;

private:
    QString FFileName;
    std::unique_ptr<Data> D;
    bool FLastWriteOk = true;
};

class TMemIniFile : public TCustomIniFile {
public:
    // Reads the file once, now.
    explicit TMemIniFile(const QString &fileName);
    void Clear();
};

class TIniFile : public TCustomIniFile {
public:
    explicit TIniFile(const QString &fileName);

protected:
    void BeforeAccess() const override;
    void Changed() override;
};
