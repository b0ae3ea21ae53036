#pragma once
// A date field with a calendar drop-down that may also hold no date (shown empty). Delete or
// Backspace on a wholly selected text empties it.
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

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
};
