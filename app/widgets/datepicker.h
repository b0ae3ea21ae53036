#pragma once
// A date field with a calendar drop-down that may also hold no date (shown empty). Delete or
// Backspace on a wholly selected text empties it. Dates are typed freely in the short date
// format of the format settings, with or without its separators ("11/12/2026", "11122026");
// a text that is no date is reported with the conversion message when editing ends.
#include <QDateEdit>

class TDatePickerEdit : public QDateEdit
{
    Q_OBJECT
public:
    explicit TDatePickerEdit(QWidget *parent = nullptr);

    // The date, or a null QDate when the field is empty.
    QDate Date() const;
    void SetDate(const QDate &d);
    bool IsEmpty() const;
    void Clear();
    // Whether the typed text is a date (or nothing); false shows the conversion message.
    bool CheckText();

    // The typed text as a date: null when it is not one.
    static QDate ParseDate(const QString &text);

    QValidator::State validate(QString &input, int &pos) const override;
    void fixup(QString &input) const override;

protected:
    QDateTime dateTimeFromText(const QString &text) const override;
    QString textFromDateTime(const QDateTime &dt) const override;
    void keyPressEvent(QKeyEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;

private:
    void ShowTodayIfEmpty();
};
