#include "app/widgets/datepicker.h"

#include "app/widgets/guard.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/formatsettings.h"
#include "platform/ui/messages.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

// Below every date a user enters; the field shows it as empty.
const QDate kEmpty(1000, 1, 1);
const QString kEmptyText = QStringLiteral(" ");

QDate FromDateTime(rtl::TDateTime dt)
{
    int y = 0, m = 0, d = 0;
    rtl::DecodeDate(dt, y, m, d);
    return QDate(y, m, d);
}

// The settings' short date format as a Qt picture ("dd/mm/yyyy" -> "dd/MM/yyyy").
QString QtDatePicture()
{
    QString p = rtl::FormatSettings().ShortDateFormat;
    if (p.isEmpty())
        p = QStringLiteral("dd/mm/yyyy");
    p.replace(QLatin1Char('m'), QLatin1Char('M'));
    return p;
}

// Digits only: day, month and year in the order of the short date format, two digits for day
// and month, two or four for the year.
QString WithSeparators(const QString &digits)
{
    const TFormatSettings &fs = rtl::FormatSettings();
    const QString order = fs.ShortDateFormat.toLower();
    const int yearLen = digits.size() - 4;
    if (yearLen != 2 && yearLen != 4)
        return {};
    QList<QPair<qsizetype, QChar>> parts;
    for (QChar c : {QLatin1Char('d'), QLatin1Char('m'), QLatin1Char('y')})
        parts.append({order.indexOf(c), c});
    std::sort(parts.begin(), parts.end());
    QStringList out;
    qsizetype at = 0;
    for (const auto &p : parts) {
        const int len = p.second == QLatin1Char('y') ? yearLen : 2;
        out << digits.mid(at, len);
        at += len;
    }
    return out.join(fs.DateSeparator);
}

bool IsPartialDate(const QString &s)
{
    if (s.size() > 10)
        return false;
    for (QChar c : s)
        if (!c.isDigit() && c != rtl::FormatSettings().DateSeparator && c != QLatin1Char(' '))
            return false;
    return true;
}

} // namespace

TDatePickerEdit::TDatePickerEdit(QWidget *parent) : QDateEdit(parent)
{
    setCalendarPopup(true);
    setDisplayFormat(QtDatePicture());
    setMinimumDate(kEmpty);
    setMaximumDate(QDate(9999, 12, 31));
    // The text shown at the minimum, i.e. when there is no date.
    setSpecialValueText(kEmptyText);
    // The text is read when editing ends, not at every key: a partial date must not be
    // rewritten while it is being typed.
    setKeyboardTracking(false);
    Clear();
}

QDate TDatePickerEdit::ParseDate(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    bool digitsOnly = true;
    for (QChar c : t)
        digitsOnly = digitsOnly && c.isDigit();
    const QString s = digitsOnly ? WithSeparators(t) : t;
    const std::optional<rtl::TDateTime> dt = s.isEmpty() ? std::nullopt : rtl::TryStrToDate(s);
    if (!dt)
        return {};
    const QDate d = FromDateTime(*dt);
    return d > kEmpty ? d : QDate();
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

bool TDatePickerEdit::CheckText()
{
    const QString text = lineEdit()->text();
    if (text.trimmed().isEmpty()) {
        if (!IsEmpty())
            Clear();
        return true;
    }
    const QDate d = ParseDate(text);
    if (!d.isValid()) {
        ui::ShowMessage(QString::fromLatin1(rtl::msg::InvalidDate).arg(text));
        return false;
    }
    if (d != date())
        setDate(d);
    return true;
}

QValidator::State TDatePickerEdit::validate(QString &input, int &) const
{
    if (input.trimmed().isEmpty() || ParseDate(input).isValid())
        return QValidator::Acceptable;
    return IsPartialDate(input) ? QValidator::Intermediate : QValidator::Invalid;
}

void TDatePickerEdit::fixup(QString &) const {}

QDateTime TDatePickerEdit::dateTimeFromText(const QString &text) const
{
    const QDate d = ParseDate(text);
    return QDateTime(d.isValid() ? d : kEmpty, QTime(0, 0));
}

QString TDatePickerEdit::textFromDateTime(const QDateTime &dt) const
{
    if (dt.date() <= kEmpty)
        return kEmptyText;
    return rtl::DateToStr(rtl::EncodeDate(dt.date().year(), dt.date().month(), dt.date().day()));
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
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        CheckText();
        QDateEdit::keyPressEvent(e);
        return;
    }
    // Typed text goes into the field as it is: the field reads the whole text, not sections.
    const QString t = e->text();
    if (!t.isEmpty() && t.at(0).isPrint() && !(e->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))) {
        QLineEdit *le = lineEdit();
        if (IsEmpty() && le->text() == kEmptyText)
            le->clear();
        le->insert(t);
        e->accept();
        return;
    }
    if (e->key() == Qt::Key_Backspace || e->key() == Qt::Key_Delete || e->key() == Qt::Key_Left ||
        e->key() == Qt::Key_Right || e->key() == Qt::Key_Home || e->key() == Qt::Key_End) {
        QAbstractSpinBox::keyPressEvent(e);
        return;
    }
    QDateEdit::keyPressEvent(e);
    ShowTodayIfEmpty();
}

void TDatePickerEdit::mousePressEvent(QMouseEvent *e)
{
    QDateEdit::mousePressEvent(e);
    ShowTodayIfEmpty();
}

void TDatePickerEdit::focusOutEvent(QFocusEvent *e)
{
    CheckText();
    QDateEdit::focusOutEvent(e);
}

void TDatePickerEdit::ShowTodayIfEmpty()
{
    // An empty field opens its calendar on today's month, not on the placeholder's.
    if (IsEmpty() && calendarWidget()) {
        const QDate today = QDate::currentDate();
        calendarWidget()->setCurrentPage(today.year(), today.month());
    }
}
