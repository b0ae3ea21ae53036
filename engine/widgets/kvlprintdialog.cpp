#include "engine/widgets/kvlprintdialog.h"

#include "engine/print/kvlprint.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/services.h"
#include "report/document/kvlreport.h"
#include "report/printers/kvlprinters.h"
#include "report/resources/kvlresources.h"
#include "report/seams/kvlpreviewpages.h"
#include "report/widgets/kvlformutils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QPainter>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {

QComboBox *list(QWidget *Parent, const char *Name, std::initializer_list<const char *> Items)
{
    auto *cb = new QComboBox(Parent);
    cb->setObjectName(QLatin1String(Name));
    for (const char *i : Items)
        cb->addItem(QString::fromUtf8(i));
    return cb;
}

TkvlCustomPrinter *current() { return kvlPrinters().GetCurrentPrinter(); }

constexpr QSize kClientSize(557, 333);
constexpr QSize kModePictureSize(64, 32);
constexpr QSize kCopiesPictureSize(80, 40);
constexpr int kPrinterPicture = 2;  // the preview's printer button

// A list entry drawn as the dialog's lists want it: the background, the entry's picture at
// PictureAt and its text at TextAt (both from the entry's top left), rows of a fixed height.
class PictureItem final : public QStyledItemDelegate {
public:
    PictureItem(QPoint PictureAt, QPoint TextAt, int Height, QObject *Parent)
        : QStyledItemDelegate(Parent), FPictureAt(PictureAt), FTextAt(TextAt), FHeight(Height)
    {
    }
    void paint(QPainter *P, const QStyleOptionViewItem &Option, const QModelIndex &Index) const override
    {
        const bool selected = Option.state & QStyle::State_Selected;
        P->fillRect(Option.rect, Option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
        const QIcon icon = Index.data(Qt::DecorationRole).value<QIcon>();
        const QSize size = Option.decorationSize;
        if (!icon.isNull())
            P->drawPixmap(Option.rect.topLeft() + FPictureAt, icon.pixmap(size));
        P->setPen(Option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        P->setFont(Option.font);
        const QRect text(Option.rect.topLeft() + FTextAt, Option.rect.bottomRight());
        P->drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, Index.data().toString());
    }
    QSize sizeHint(const QStyleOptionViewItem &Option, const QModelIndex &Index) const override
    {
        return {QStyledItemDelegate::sizeHint(Option, Index).width(), FHeight};
    }

private:
    QPoint FPictureAt, FTextAt;
    int FHeight;
};

// A sheet of paper at R: white with a dark edge.
void sheet(QPainter &P, const QRectF &R)
{
    P.setPen(QPen(QColor(64, 64, 64), 1));
    P.setBrush(Qt::white);
    P.drawRect(R);
}

// Grey text lines inside a sheet, so a drawn page reads as printed.
void lines(QPainter &P, const QRectF &R)
{
    P.setPen(QPen(QColor(150, 150, 150), 1));
    for (qreal y = R.top() + 4; y < R.bottom() - 2; y += 3)
        P.drawLine(QPointF(R.left() + 3, y), QPointF(R.right() - 3, y));
}

void page(QPainter &P, const QRectF &R)
{
    sheet(P, R);
    lines(P, R);
}

void arrow(QPainter &P, qreal X, qreal Y)
{
    P.setPen(QPen(QColor(0, 0, 128), 2));
    P.drawLine(QPointF(X, Y), QPointF(X + 10, Y));
    P.drawLine(QPointF(X + 10, Y), QPointF(X + 6, Y - 4));
    P.drawLine(QPointF(X + 10, Y), QPointF(X + 6, Y + 4));
}

// The print modes' pictures: the report's page(s) on the left, the printed sheet(s) on the right.
QPixmap modePicture(TkvlPrintMode Mode)
{
    QImage img(kModePictureSize, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    switch (Mode) {
    case pmDefault:
        page(p, QRectF(6.5, 3.5, 18, 25));
        arrow(p, 27, 16);
        page(p, QRectF(41.5, 3.5, 18, 25));
        break;
    case pmSplit:
        page(p, QRectF(0.5, 7.5, 24, 17));
        arrow(p, 26, 16);
        page(p, QRectF(38.5, 6.5, 12, 19));
        page(p, QRectF(51.5, 6.5, 12, 19));
        break;
    case pmJoin:
        page(p, QRectF(0.5, 9.5, 10, 14));
        page(p, QRectF(12.5, 9.5, 10, 14));
        arrow(p, 26, 16);
        sheet(p, QRectF(40.5, 6.5, 23, 19));
        lines(p, QRectF(40.5, 6.5, 11, 19));
        lines(p, QRectF(52.5, 6.5, 11, 19));
        break;
    default:  // scaled to the sheet
        page(p, QRectF(0.5, 0.5, 22, 31));
        arrow(p, 26, 16);
        page(p, QRectF(43.5, 5.5, 16, 22));
        break;
    }
    return QPixmap::fromImage(img);
}

// Three numbered sheets, stacked as the copies come out: 1 2 3, 1 2 3 collated, else 1 1, 2 2, 3 3.
QPixmap copiesPicture(bool Collate, const QColor &Background)
{
    QImage img(kCopiesPictureSize, QImage::Format_ARGB32_Premultiplied);
    img.fill(Background);
    QPainter p(&img);
    QFont f = p.font();
    f.setPixelSize(9);
    p.setFont(f);
    for (int stack = 0; stack < (Collate ? 2 : 3); ++stack)
        for (int k = 0; k < (Collate ? 3 : 2); ++k) {
            const qreal x = (Collate ? 6 + stack * 38 : 2 + stack * 26) + k * 5 + 0.5;
            const QRectF r(x, 2.5 + k * 4, 16, 22);
            sheet(p, r);
            p.setPen(Qt::black);
            p.drawText(r.adjusted(0, 0, -1, -1), Qt::AlignRight | Qt::AlignBottom,
                       QString::number(Collate ? k + 1 : stack + 1));
        }
    return QPixmap::fromImage(img);
}

} // namespace

TkvlPrintDialog::TkvlPrintDialog(TkvlReport *AReport, TkvlDuplexMode ADuplexMode, QWidget *Parent)
    : QDialog(Parent), FReport(AReport), FDuplexMode(ADuplexMode)
{
    setWindowTitle(kvlGet(200));
    setObjectName(QStringLiteral("TkvlPrintDialog"));
    auto *grid = new QGridLayout(this);

    auto *printerGB = new QGroupBox(kvlGet(201), this);
    auto *pg = new QGridLayout(printerGB);
    pg->addWidget(new QLabel(kvlGet(212), printerGB), 0, 0);
    FPrinters = new QComboBox(printerGB);
    FPrinters->setObjectName(QStringLiteral("PrintersCB"));
    FPrinters->setIconSize(QSize(16, 16));
    FPrinters->setItemDelegate(
        new PictureItem(QPoint(2, 0), QPoint(24, 1), FPrinters->logicalDpiY() > 96 ? 19 : 16, FPrinters));
    pg->addWidget(FPrinters, 0, 1);
    FProp = new QPushButton(kvlGet(209), printerGB);
    FProp->setObjectName(QStringLiteral("PropButton"));
    pg->addWidget(FProp, 0, 2);
    pg->addWidget(new QLabel(kvlGet(208), printerGB), 1, 0);
    FWhere = new QLabel(printerGB);
    FWhere->setObjectName(QStringLiteral("WhereL1"));
    pg->addWidget(FWhere, 1, 1);
    FFile = new QCheckBox(kvlGet(210), printerGB);
    FFile->setObjectName(QStringLiteral("FileCB"));
    pg->addWidget(FFile, 1, 2);
    grid->addWidget(printerGB, 0, 0, 1, 2);

    auto *pagesGB = new QGroupBox(kvlGet(202), this);
    auto *pv = new QVBoxLayout(pagesGB);
    FAll = new QRadioButton(kvlGet(3), pagesGB);
    FAll->setObjectName(QStringLiteral("AllRB"));
    FAll->setChecked(true);
    FCurPage = new QRadioButton(kvlGet(4), pagesGB);
    FCurPage->setObjectName(QStringLiteral("CurPageRB"));
    FPageNumbersRB = new QRadioButton(kvlGet(5), pagesGB);
    FPageNumbersRB->setObjectName(QStringLiteral("PageNumbersRB"));
    FPageNumbers = new QLineEdit(pagesGB);
    FPageNumbers->setObjectName(QStringLiteral("PageNumbersE"));
    auto *descr = new QLabel(kvlGet(9), pagesGB);
    descr->setWordWrap(true);
    pv->addWidget(FAll);
    pv->addWidget(FCurPage);
    auto *numbersRow = new QHBoxLayout;
    numbersRow->addWidget(FPageNumbersRB);
    numbersRow->addWidget(FPageNumbers, 1);
    pv->addLayout(numbersRow);
    pv->addWidget(descr);
    grid->addWidget(pagesGB, 1, 0);

    auto *copiesGB = new QGroupBox(kvlGet(205), this);
    auto *cv = new QVBoxLayout(copiesGB);
    cv->addWidget(new QLabel(kvlGet(203), copiesGB));
    FCopies = new QSpinBox(copiesGB);
    FCopies->setObjectName(QStringLiteral("CopiesE"));
    FCopies->setRange(1, 1000);
    cv->addWidget(FCopies);
    FCollate = new QCheckBox(kvlGet(204), copiesGB);
    FCollate->setObjectName(QStringLiteral("CollateCB"));
    FCollate->setChecked(true);
    FCopiesPicture = new QLabel(copiesGB);
    FCopiesPicture->setObjectName(QStringLiteral("CopiesPB"));
    FCopiesPicture->setFixedSize(kCopiesPictureSize);
    auto *collateRow = new QHBoxLayout;
    collateRow->addWidget(FCopiesPicture);
    collateRow->addWidget(FCollate);
    cv->addLayout(collateRow);
    grid->addWidget(copiesGB, 1, 1);

    auto *otherGB = new QGroupBox(kvlGet(207), this);
    auto *og = new QGridLayout(otherGB);
    og->addWidget(new QLabel(kvlGet(206), otherGB), 0, 0);
    FPrintPages = list(otherGB, "PrintPagesCB", {"Tutte le pagine", "Pagine dispari", "Pagine pari"});
    og->addWidget(FPrintPages, 0, 1);
    og->addWidget(new QLabel(kvlGet(211), otherGB), 1, 0);
    FOrder = list(otherGB, "OrderCB",
                  {"Dalla prima pagina all'utima (1-9)", "Dall'ultima pagina alla prima (9-1)"});
    og->addWidget(FOrder, 1, 1);
    og->addWidget(new QLabel(kvlGet(216), otherGB), 2, 0);
    FDuplex = list(otherGB, "DuplexCB",
                   {"Predefinito", "Verticale (lato lungo)", "Orizzontale (lato corto)", "Simplex"});
    og->addWidget(FDuplex, 2, 1);
    grid->addWidget(otherGB, 2, 0);

    auto *modeGB = new QGroupBox(kvlGet(213), this);
    auto *mv = new QVBoxLayout(modeGB);
    FPrintMode = list(modeGB, "PrintModeCB",
                      {"Normale", "Dividi le pagine grandi in due", "Unisci le pagine piccole in una",
                       "Adatta alla pagina"});
    FPrintMode->setIconSize(kModePictureSize);
    FPrintMode->setItemDelegate(new PictureItem(QPoint(2, 1), QPoint(74, 10), 34, FPrintMode));
    for (int m = pmDefault; m <= pmScale; ++m)
        FPrintMode->setItemIcon(m, modePicture(TkvlPrintMode(m)));
    mv->addWidget(FPrintMode);
    mv->addWidget(new QLabel(kvlGet(214), modeGB));
    FSheets = new QComboBox(modeGB);
    FSheets->setObjectName(QStringLiteral("PagPageSizeCB"));
    mv->addWidget(FSheets);
    grid->addWidget(modeGB, 2, 1);

    grid->addLayout(kvlOkCancelRow(this, kvlGet(1), "OkB", kvlGet(2), FOk, FCancel), 3, 0, 1, 2);

    connect(FPrinters, &QComboBox::activated, this, [this] { PrinterChosen(); });
    connect(FPrintMode, &QComboBox::activated, this, [this] { PrintModeChosen(); });
    connect(FProp, &QPushButton::clicked, this, [this] { PropertiesClicked(); });
    connect(FPageNumbersRB, &QRadioButton::clicked, this, [this] {
        if (isVisible())
            FPageNumbers->setFocus();
    });
    connect(FPageNumbers, &QLineEdit::textEdited, this, [this] { FPageNumbersRB->setChecked(true); });
    connect(FCollate, &QCheckBox::toggled, this, [this] { DrawCopies(); });

    TkvlPrinters &printers = kvlPrinters();
    TImageList &images = kvlResources().GetPreviewButtonImages();
    const QIcon printerIcon = kPrinterPicture < images.Count()
                                  ? QIcon(QPixmap::fromImage(images.Image(kPrinterPicture)))
                                  : QIcon();
    for (const QString &name : printers.Printers())
        FPrinters->addItem(printerIcon, name);
    FPrinters->setCurrentIndex(printers.PrinterIndex());
    PrinterChosen();
    FOldIndex = printers.PrinterIndex();
    DrawCopies();
    grid->setContentsMargins(6, 4, 6, 6);
    grid->setSpacing(4);
    // The form's small type is what lets every control fit the fixed client area.
    kvlFitFixedForm(this, kClientSize);
    kvlMirrorIfRightToLeft(this);
    kvlCenterOnScreen(this, nullptr);
}

void TkvlPrintDialog::DrawCopies()
{
    FCopiesPicture->setPixmap(copiesPicture(FCollate->isChecked(), palette().color(QPalette::Window)));
}

void TkvlPrintDialog::FillSheets(TkvlCustomPrinter *Printer)
{
    FSheets->clear();
    FSheetNumbers.clear();
    FSheets->addItem(QStringLiteral("Default"));
    FSheetNumbers.append(-1);
    if (!Printer)
        return;
    for (const print::NumberedName &p : Printer->Papers())
        if (p.number != kvlCustomPaper) {
            FSheets->addItem(p.name);
            FSheetNumbers.append(p.number);
        }
}

void TkvlPrintDialog::SelectSheet(int PaperNumber)
{
    const qsizetype i = PaperNumber < 0 ? -1 : FSheetNumbers.indexOf(PaperNumber);
    FSheets->setCurrentIndex(i > 0 ? int(i) : 0);
}

void TkvlPrintDialog::PrinterChosen()
{
    const int sheet = FSheets->currentIndex();
    const int wanted = sheet > 0 ? FSheetNumbers.value(sheet, -1) : -1;
    kvlPrinters().SetPrinterIndex(FPrinters->currentIndex());
    TkvlCustomPrinter *printer = current();
    FWhere->setText(printer ? printer->Port() : QString());
    FillSheets(printer);
    SelectSheet(wanted);
}

void TkvlPrintDialog::PrintModeChosen()
{
    if (FPrintMode->currentIndex() == pmDefault) {
        FSheets->setCurrentIndex(0);
        FSheets->setEnabled(false);
        return;
    }
    FSheets->setEnabled(true);
    if (FSheets->currentIndex() <= 0)
        SelectSheet(kvlA4Paper);
}

void TkvlPrintDialog::PropertiesClicked()
{
    TkvlCustomPrinter *printer = current();
    if (!printer)
        return;
    printer->PropertiesDlg();
    int entry = -1;
    switch (printer->Duplex()) {
    case print::DuplexSimplex: entry = dmSimplex; break;
    case print::DuplexVertical: entry = dmVertical; break;
    case print::DuplexHorizontal: entry = dmHorizontal; break;
    default: break;
    }
    if (entry >= 1) {
        FDuplexMode = TkvlDuplexMode(entry);
        FDuplex->setCurrentIndex(entry);
    }
}

void TkvlPrintDialog::FormShow()
{
    const TkvlPrintOptions *o = FReport->PrintOptions();
    FCopies->setValue(o->Copies);
    FCollate->setChecked(o->Collate);
    FPageNumbers->setText(o->PageNumbers);
    if (!o->PageNumbers.isEmpty())
        FPageNumbersRB->setChecked(true);
    FPrintPages->setCurrentIndex(o->PrintPages);
    FOrder->setCurrentIndex(o->Reverse ? 1 : 0);
    FPrintMode->setCurrentIndex(o->PrintMode);
    FDuplex->setCurrentIndex(FDuplexMode);
    PrintModeChosen();
    if (o->PrintMode != pmDefault)
        SelectSheet(o->PrintOnSheet);
}

void TkvlPrintDialog::showEvent(QShowEvent *Event)
{
    if (!FShown) {
        FShown = true;
        FormShow();
    }
    QDialog::showEvent(Event);
}

void TkvlPrintDialog::keyPressEvent(QKeyEvent *Event)
{
    if (Event->key() == Qt::Key_F1) {
        kvlResources().Help(this);
        return;
    }
    QDialog::keyPressEvent(Event);
}

void TkvlPrintDialog::done(int Result)
{
    if (Result == Accepted) {
        TkvlCustomPrinter *printer = current();
        if (printer)
            printer->FileName.clear();
        if (printer && FFile->isChecked()) {
            ui::FileDialogRequest request;
            request.title = kvlGet(507);
            request.filter = kvlGet(510);
            request.defaultExt = QStringLiteral("prn");
            const ui::FileDialogResult answer = ui::fileDialogs().Save(request);
            if (answer.accepted && !answer.fileName().isEmpty()) {
                const QFileInfo fi(answer.fileName());
                printer->FileName = fi.path() + u'/' + fi.completeBaseName() + QStringLiteral(".prn");
            } else {
                Result = Rejected;
            }
        }
    }
    if (Result == Accepted)
        WriteOptions();
    else
        kvlPrinters().SetPrinterIndex(FOldIndex);
    QDialog::done(Result);
}

void TkvlPrintDialog::WriteOptions()
{
    TkvlPrintOptions *o = FReport->PrintOptions();
    o->Copies = FCopies->cleanText().isEmpty() ? 1 : FCopies->value();
    o->Collate = FCollate->isChecked();
    if (FAll->isChecked())
        o->PageNumbers.clear();
    else if (FCurPage->isChecked())
        o->PageNumbers = QString::number(FReport->PreviewPages() ? FReport->PreviewPages()->CurPreviewPage : 1);
    else
        o->PageNumbers = FPageNumbers->text();
    o->PrintPages = TkvlPrintPages(FPrintPages->currentIndex());
    FDuplexMode = TkvlDuplexMode(FDuplex->currentIndex());
    o->Reverse = FOrder->currentIndex() == 1;
    o->PrintMode = TkvlPrintMode(FPrintMode->currentIndex());
    TkvlCustomPrinter *printer = current();
    o->PrintOnSheet = printer ? printer->PaperNameToNumber(FSheets->currentText()) : kvlCustomPaper;
}

namespace {

// Printing asks with the dialog, modally, its owner the active window.
class PrintDialogService final : public TkvlPrintDialogService {
public:
    bool Execute(TkvlReport *Report, TkvlDuplexMode &Duplex) override
    {
        TkvlPrintDialog dialog(Report, Duplex);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        Duplex = dialog.ADuplexMode();
        return true;
    }
};

} // namespace

void kvlRegisterPrintDialog()
{
    static PrintDialogService service;
    kvlInstallPrintDialog(&service);
}
