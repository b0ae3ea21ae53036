#include "app/widgets/datepicker.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

// Below every date a user enters; the field shows it as empty.
const QDate kEmpty(1000, 1, 1);

} // namespace

TDatePickerEdit::TDatePickerEdit(QWidget *parent) : QDateEdit(parent)
{
    setCalendarPopup(true);
    setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    setMinimumDate(kEmpty);
    setMaximumDate(QDate(9999, 12, 31));
    // The text shown at the minimum, i.e. when there is no date.
    setSpecialValueText(QStringLiteral(" "));
    Clear();
}

QDate TDatePickerEdit::Date() const
{
    return IsEmpty() ? QDate() : date();
}

void TDatePickerEdit::SetDate(const QDate &d)
{
    if (!d.isValid() || d <= kEmpty)
        Clear();
    else
        setDate(d);
}

bool TDatePickerEdit::IsEmpty() const
{
    return date() <= kEmpty;
}

void TDatePickerEdit::Clear()
{
    setDate(kEmpty);
}

void TDatePickerEdit::keyPressEvent(QKeyEvent *e)
{
    if ((e->key() == Qt::Key_Delete || e->key() == Qt::Key_Backspace) && !IsEmpty()) {
        const QLineEdit *le = lineEdit();
        if (le && le->selectedText() == le->text()) {
            Clear();
            return;
        }
    }
    QDateEdit::keyPressEvent(e);
}

void TDatePickerEdit::mousePressEvent(QMouseEvent *e)
{
    // An empty field opens its calendar on today's month, not on the placeholder's.
    if (IsEmpty() && calendarWidget()) {
        const QDate today = QDate::currentDate();
        calendarWidget()->setCurrentPage(today.year(), today.month());
    }
    QDateEdit::mousePressEvent(e);
}
