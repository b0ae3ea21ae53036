#pragma once
// A report whose expressions are answered from a small table, and memos laid out by a
// measurer whose numbers can be worked out by hand (72-point text: 24 pixels a character,
// lines 96 pixels high).
#include "report/core/kvlobjects.h"
#include "report/memo/kvlmemo.h"
#include "tests/text/textfixture.h"

#include <QHash>

void registerMemoClassesOnce();

class MemoReport : public TkvlReport {
public:
    MemoReport();
    QHash<QString, Variant> Values;
    QStringList Evaluated;
};

struct MemoFixture : ::testing::Test {
    MemoFixture();
    // A memo on the hand-computable layout: no gaps, no line spacing.
    TkvlMemoView *NewMemo(const QString &Text = QString());
    texttest::EmMeasurer measurer;
    TkvlDrawText layout{&measurer};
    MemoReport report;
};
