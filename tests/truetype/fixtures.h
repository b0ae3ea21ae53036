#pragma once
// Fonts the TrueType tests read: installed faces and the ones made with fontTools.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace ttfix {

QString liberationSans();      // Liberation Sans Regular
QString liberationSansBold();
QString liberationMono();
QString dejaVuSans();
QString tahoma();
// A font written by make_fixtures.py (collection.ttc, composite.ttf, format12.ttf,
// shortos2.ttf), made once per run.
QString made(const QString &name);

QByteArray readFile(const QString &path);

struct ProcessResult {
    int exitCode = -1;
    QByteArray out;
};
// /usr/bin/python3 with one of the scripts beside the tests.
ProcessResult python(const QString &script, const QStringList &args);

// Glyphs of the text's characters in a face, looked up by FreeType.
std::vector<uint32_t> glyphsOf(const QByteArray &font, int face, const QString &text);
// Glyphs FreeType draws differently (bitmap, placement or advance at 48 px, outlines
// only, the font's own hinting) in the subset than in the source face; empty when all agree.
std::vector<uint32_t> drawnDifferently(const QByteArray &source, int face, const QByteArray &subset,
                                       const std::vector<uint32_t> &glyphs);

// Sum modulo 2^32 of the big-endian words.
uint32_t wordSum(const QByteArray &bytes);

// The record of a table in a font's directory: offset of its 16 bytes, or -1.
int tableRecord(const QByteArray &font, const char *tag, uint32_t selector = 0);
uint32_t be32At(const QByteArray &b, int at);
void put32At(QByteArray &b, int at, uint32_t v);

inline const QString kItalian = QStringLiteral(
    "Perché l'Unità d'Italia è così? Già: più città, caffè e virtù. Qualità, libertà 0123456789!");

} // namespace ttfix
