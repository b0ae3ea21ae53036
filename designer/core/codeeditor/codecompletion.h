#pragma once
// Code completion's text rules, apart from its list window: the dotted name in front of
// the caret that the owner completes, and what a chosen item puts into the text.
#include <QString>

// Kinds an owner gives its items.
enum TkvlCompletionKind { ckVariable = 0, ckProperty = 1, ckProcedure = 2, ckFunction = 3 };

// The name read backwards from the character before the caret on Line (caret column
// CaretX from 1), skipping quoted and bracketed parts; letters, digits, "_", "." and
// blanks are kept, anything else ends it.
QString kvlCompletionName(const QString &Line, int CaretX);

struct TkvlCompletionInsert {
    QString Text;
    int CaretBack = 0; // characters the caret ends before the end of Text
};
// An item's leading word (its first character always counts), with "()" and the caret
// between them when the item continues with "(".
TkvlCompletionInsert kvlCompletionInsert(const QString &Item);

// How an item is drawn: its kind word, the leading word and the rest of its text (without a
// trailing ": Constructor").
QString kvlCompletionKindWord(const QString &Item, int Kind);
int kvlCompletionWordLength(const QString &Item);
