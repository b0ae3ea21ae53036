#include "designer/widgets/hostdialog.h"
#include "designer/widgets/memoeditorform.h"

#include "designer/core/memoeditor.h"
#include "designer/widgets/dockstore.h"
#include "designer/widgets/formateditorform.h"
#include "designer/widgets/highlighteditorform.h"
#include "designer/widgets/sysmemoform.h"
#include "platform/rtl/inifile.h"
#include "report/document/kvlreport.h"
#include "report/memo/kvlmemo.h"
#include "report/resources/kvlresources.h"
#include "report/seams/kvldesigner.h"
#include "report/widgets/kvlformutils.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBlock>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kSection = QLatin1String(kvlMemoEditorSection);

std::unique_ptr<TCustomIniFile> iniOf(TkvlCustomDesigner *Designer)
{
    return Designer && Designer->Report() ? Designer->Report()->GetIniFile() : nullptr;
}

QToolButton *toolButton(QToolBar *Bar, const char *Name, int Image, int Hint)
{
    auto *b = new QToolButton(Bar);
    b->setObjectName(QLatin1String(Name));
    b->setIcon(kvlGlyphIcon(Image));
    b->setToolTip(kvlGet(Hint));
    if (b->icon().isNull()) {
        b->setText(kvlGet(Hint));
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    }
    b->setAutoRaise(true);
    Bar->addWidget(b);
    return b;
}

// The lines joined with "\r\n", in one pass (replacing in place moves the tail at each break).
QString withCrLf(const QString &Text)
{
    QString out;
    out.reserve(Text.size() + Text.count(QLatin1Char('\n')));
    qsizetype from = 0;
    for (qsizetype at; (at = Text.indexOf(QLatin1Char('\n'), from)) >= 0; from = at + 1) {
        out.append(QStringView(Text).mid(from, at - from));
        out.append(QLatin1String("\r\n"));
    }
    out.append(QStringView(Text).mid(from));
    return out;
}

} // namespace

TkvlMemoEditorForm::TkvlMemoEditorForm(QWidget *Parent, TkvlCustomDesigner *Designer)
    : QDialog(Parent), FDesigner(Designer)
{
    setObjectName(QStringLiteral("MemoEditorForm"));
    setWindowTitle(kvlGet(3900));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setMinimumSize(520, 352);
    resize(528, 400);
    PageControl1 = new QTabWidget(this);
    TextTS = new QWidget;
    FormatTS = new QWidget;
    HighlightTS = new QWidget;
    PageControl1->addTab(TextTS, kvlGet(3905));
    PageControl1->addTab(FormatTS, kvlGet(3906));
    PageControl1->addTab(HighlightTS, kvlGet(3907));
    auto *bar = new QToolBar(TextTS);
    bar->setIconSize(QSize(16, 16));
    ExprB = toolButton(bar, "ExprB", 70, 3901);
    AggregateB = toolButton(bar, "AggregateB", 85, 3902);
    WordWrapB = toolButton(bar, "WordWrapB", 25, 3904);
    WordWrapB->setCheckable(true);
    auto *tl = new QVBoxLayout(TextTS);
    tl->setContentsMargins(0, 0, 0, 0);
    tl->setSpacing(0);
    tl->addWidget(bar);
    auto *l = new QVBoxLayout(this);
    l->setContentsMargins(4, 4, 4, 4);
    l->addWidget(PageControl1, 1);
    QPushButton *ok = nullptr, *cancel = nullptr;
    l->addLayout(kvlOkCancelRow(this, kvlGet(1), "OkB", kvlGet(2), ok, cancel));

    connect(ExprB, &QToolButton::clicked, this, [this] {
        if (!FDesigner || !Memo)
            return;
        const QString e = FDesigner->InsertExpression(QString());
        if (e.isEmpty())
            return;
        Memo->insertPlainText(kvlBracketExpression(e, MemoView ? MemoView->ExpressionDelimiters() : QStringLiteral("[,]")));
    });
    connect(AggregateB, &QToolButton::clicked, this, [this] {
        const QString a = kvlInsertAggregate(FDesigner ? FDesigner->ParentForm : this, FDesigner);
        if (!a.isEmpty() && Memo)
            Memo->insertPlainText(a);
    });
    connect(WordWrapB, &QToolButton::toggled, this, [this] { ApplyWordWrap(); });
    connect(PageControl1, &QTabWidget::currentChanged, this, [this](int Page) {
        if (Page == 1 && FFormat && Memo) {
            FFormat->SetMemoText(Memo->toPlainText());
            FFormat->Refill();
        }
    });
}

TkvlMemoEditorForm::~TkvlMemoEditorForm() = default;

void TkvlMemoEditorForm::setVisible(bool Visible)
{
    // The text goes in before the window is shown: a shown editor lays it out at once.
    if (Visible && !isVisible() && !FPrepared)
        Prepare();
    QDialog::setVisible(Visible);
}

void TkvlMemoEditorForm::Prepare()
{
    if (!Memo) {
        Memo = new QPlainTextEdit(TextTS);
        Memo->setObjectName(QStringLiteral("Memo"));
        Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        Memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        Memo->installEventFilter(this);
        TextTS->layout()->addWidget(Memo);
        setTabOrder(PageControl1, Memo);
    }
    QString text = MemoView ? MemoView->Text() : QString();
    QWidget *owner = FDesigner && FDesigner->ParentForm ? FDesigner->ParentForm : this;
    FFormat = new TkvlFormatEditorForm(owner);
    FFormat->SetMemo(MemoView, text);
    FFormat->HostControls(FormatTS);
    FHighlight = new TkvlHighlightEditorForm(owner, FDesigner);
    FHighlight->SetMemoView(MemoView);
    FHighlight->HostControls(HighlightTS);
    if (FDesigner && FDesigner->ParentForm)
        setWindowIcon(FDesigner->ParentForm->windowIcon());

    auto ini = iniOf(FDesigner);
    if (ini) {
        ini->WriteBool(kSection, QStringLiteral("Visible"), true);
        WordWrapB->setChecked(ini->ReadBool(kSection, QStringLiteral("WordWrap"), false));
    }
    ApplyWordWrap();

    if (FDesigner && FDesigner->UseObjectFont && MemoView) {
        TFont f;
        f.Assign(MemoView->Font());
        f.SetColor(clBlack);
        Memo->setFont(kvlQFont(f));
    } else if (FDesigner) {
        Memo->setFont(QFont(FDesigner->MemoFontName, FDesigner->MemoFontSize > 0 ? FDesigner->MemoFontSize : 10));
    }
    QPalette pal = Memo->palette();
    pal.setColor(QPalette::Text, Qt::black);
    Memo->setPalette(pal);

    // The object's text ends every line with a break; the editor shows no empty last line.
    // The control takes "\r\n" as one line break.
    if (text.endsWith(QLatin1String("\r\n")))
        text.chop(2);
    Memo->setPlainText(text);
    // Last: restoring the position shows the window (its "Visible" was written true above).
    FPrepared = true;
    if (ini)
        kvlRestoreFormPosition(*ini, this);
}

void TkvlMemoEditorForm::showEvent(QShowEvent *Event)
{
    Memo->setFocus();
    Memo->moveCursor(QTextCursor::Start);
    Memo->ensureCursorVisible();
    QDialog::showEvent(Event);
}

void TkvlMemoEditorForm::ApplyWordWrap()
{
    if (!Memo)
        return;
    const bool wrap = WordWrapB->isChecked();
    Memo->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    Memo->setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
}

bool TkvlMemoEditorForm::eventFilter(QObject *Watched, QEvent *Event)
{
    if (Watched == Memo && Event->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(Event);
        const Qt::KeyboardModifiers mods = k->modifiers() & ~Qt::KeypadModifier;
        if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && mods == Qt::ControlModifier) {
            accept();
            return true;
        }
        if (k->key() == Qt::Key_Escape) {
            reject();
            return true;
        }
        if (k->key() == Qt::Key_A && mods == Qt::ControlModifier) {
            Memo->selectAll();
            return true;
        }
    }
    return QDialog::eventFilter(Watched, Event);
}

void TkvlMemoEditorForm::keyPressEvent(QKeyEvent *Event)
{
    if (!kvlHelpKey(this, Event))
        QDialog::keyPressEvent(Event);
}

void TkvlMemoEditorForm::done(int Result)
{
    if (auto ini = iniOf(FDesigner)) {
        kvlSaveFormPosition(*ini, this);
        ini->WriteBool(kSection, QStringLiteral("WordWrap"), WordWrapB->isChecked());
        ini->UpdateFile();
    }
    if (Memo)
        Text = withCrLf(Memo->toPlainText());
    if (FFormat) {
        FFormat->UnhostControls(Result);
        delete FFormat;
        FFormat = nullptr;
    }
    if (FHighlight) {
        FHighlight->UnhostControls(Result);
        delete FHighlight;
        FHighlight = nullptr;
    }
    FPrepared = false;
    QDialog::done(Result);
}

bool kvlEditMemo(QWidget *Owner, TkvlCustomDesigner *Designer, TkvlCustomMemoView *Memo)
{
    TkvlMemoEditorForm f(Owner, Designer);
    f.MemoView = Memo;
    if (f.exec() != QDialog::Accepted)
        return false;
    Memo->SetText(f.Text);
    return true;
}
