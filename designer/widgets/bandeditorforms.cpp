#include "designer/widgets/bandeditorforms.h"

#include "designer/core/bandeditors.h"
#include "designer/widgets/dialogtools.h"
#include "engine/widgets/kvlcombobox.h"
#include "platform/gfx/picture.h"
#include "platform/gfx/picturehelpers.h"
#include "platform/rtl/exceptions.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/services.h"
#include "report/bands/kvlband.h"
#include "report/document/kvlreport.h"
#include "report/resources/kvlresources.h"
#include "report/seams/kvldesigner.h"
#include "report/utils/messages.h"
#include "report/widgets/kvlformutils.h"

#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QIcon mainImage(int Index)
{
    const TImageList &images = kvlResources().GetMainButtonImages();
    return Index < images.Count() ? QIcon(QPixmap::fromImage(images.Image(Index))) : QIcon();
}

bool helpKey(QDialog *D, QKeyEvent *Event)
{
    if (Event->key() != Qt::Key_F1)
        return false;
    kvlResources().Help(D);
    return true;
}

// The expression editor of the designer on the box's text; a non-empty result replaces it.
void askExpression(TkvlComboEdit *Box, TkvlCustomDesigner *Designer)
{
    Box->OnButtonClick = [Designer](TkvlComboEdit *B) {
        if (!Designer)
            return;
        const QString s = Designer->InsertExpression(B->currentText());
        if (!s.isEmpty())
            B->setEditText(s);
    };
}


} // namespace

// ---- data band ------------------------------------------------------------------------------

TkvlDataBandEditorForm::TkvlDataBandEditorForm(TkvlDataBand *ABand, TkvlCustomDesigner *Designer, QWidget *Owner)
    : QDialog(Owner), FBand(ABand)
{
    setObjectName(QStringLiteral("TkvlDataBandEditorForm"));
    setWindowTitle(kvlGet(3100));
    auto *v = new QVBoxLayout(this);
    auto *dsGB = new QGroupBox(kvlGet(3102), this);
    dsGB->setObjectName(QStringLiteral("DatasetGB"));
    auto *dg = new QGridLayout(dsGB);
    FDatasets = new QListWidget(dsGB);
    FDatasets->setObjectName(QStringLiteral("DatasetsLB"));
    FDatasets->setIconSize(QSize(16, 16));
    dg->addWidget(FDatasets, 0, 0, 1, 2);
    auto *recordsL = new QLabel(kvlGet(3101), dsGB);
    recordsL->setObjectName(QStringLiteral("RecordsL"));
    FRecords = new QSpinBox(dsGB);
    FRecords->setObjectName(QStringLiteral("RecordsE"));
    FRecords->setRange(0, 32767);
    dg->addWidget(recordsL, 1, 0);
    dg->addWidget(FRecords, 1, 1);
    v->addWidget(dsGB);
    auto *filterGB = new QGroupBox(kvlGet(3103), this);
    filterGB->setObjectName(QStringLiteral("FilterGB"));
    auto *fl = new QVBoxLayout(filterGB);
    FFilter = new TkvlComboEdit(filterGB);
    FFilter->setObjectName(QStringLiteral("FilterE"));
    askExpression(FFilter, Designer);
    fl->addWidget(FFilter);
    v->addWidget(filterGB);
    v->addLayout(kvlOkCancelRow(this, kvlGet(1), "OkB", kvlGet(2), FOk, FCancel));

    FUpdating = true;
    const TkvlSourceChoice c = kvlSourceChoice(FBand->Report(), FBand->DataSet());
    FSources = c.Sources;
    for (int i = 0; i < c.Names.size(); ++i) {
        auto *item = new QListWidgetItem(i ? mainImage(53) : QIcon(), c.Names[i], FDatasets);
        item->setSizeHint(QSize(0, 18));
    }
    FDatasets->setCurrentRow(c.Selected);
    FRecords->setValue(FBand->RowCount());
    FFilter->setEditText(FBand->Filter);
    FUpdating = false;
    connect(FDatasets, &QListWidget::currentRowChanged, this, [this](int Row) {
        if (!FUpdating && Row > 0)
            FRecords->setValue(0);
    });
    connect(FDatasets, &QListWidget::itemDoubleClicked, this, [this] { accept(); });
    kvlMirrorIfRightToLeft(this);
}

void TkvlDataBandEditorForm::done(int Result)
{
    if (Result == Accepted) {
        const int row = FDatasets->currentRow();
        FBand->SetDataSet(row > 0 && row < int(FSources.size()) ? FSources[size_t(row)] : nullptr);
        FBand->SetRowCount(FRecords->value());
        FBand->Filter = FFilter->currentText();
    }
    QDialog::done(Result);
}

void TkvlDataBandEditorForm::keyPressEvent(QKeyEvent *Event)
{
    if (!helpKey(this, Event))
        QDialog::keyPressEvent(Event);
}

// ---- group ----------------------------------------------------------------------------------

TkvlGroupEditorForm::TkvlGroupEditorForm(TkvlGroupHeader *AGroup, TkvlCustomDesigner *Designer, QWidget *Owner)
    : QDialog(Owner), FGroup(AGroup)
{
    setObjectName(QStringLiteral("TkvlGroupEditorForm"));
    setWindowTitle(kvlGet(3200));
    auto *v = new QVBoxLayout(this);
    auto *breakGB = new QGroupBox(kvlGet(3201), this);
    breakGB->setObjectName(QStringLiteral("BreakOnL"));
    auto *bg = new QGridLayout(breakGB);
    FDataFieldRB = new QRadioButton(kvlGet(3203), breakGB);
    FDataFieldRB->setObjectName(QStringLiteral("DataFieldRB"));
    FDataSet = new QComboBox(breakGB);
    FDataSet->setObjectName(QStringLiteral("DataSetCB"));
    FDataField = new QComboBox(breakGB);
    FDataField->setObjectName(QStringLiteral("DataFieldCB"));
    FDataField->setEditable(true);
    FExpressionRB = new QRadioButton(kvlGet(3204), breakGB);
    FExpressionRB->setObjectName(QStringLiteral("ExpressionRB"));
    FExpression = new TkvlComboEdit(breakGB);
    FExpression->setObjectName(QStringLiteral("ExpressionE"));
    askExpression(FExpression, Designer);
    bg->addWidget(FDataFieldRB, 0, 0, 1, 2);
    bg->addWidget(FDataSet, 1, 0);
    bg->addWidget(FDataField, 1, 1);
    bg->addWidget(FExpressionRB, 2, 0, 1, 2);
    bg->addWidget(FExpression, 3, 0, 1, 2);
    v->addWidget(breakGB);
    auto *optGB = new QGroupBox(kvlGet(3202), this);
    optGB->setObjectName(QStringLiteral("OptionsL"));
    auto *ol = new QVBoxLayout(optGB);
    FKeep = kvlCheckBox(optGB, kvlGet(3205), "KeepGroupTogetherCB");
    FNewPage = kvlCheckBox(optGB, kvlGet(3206), "StartNewPageCB");
    FOutline = kvlCheckBox(optGB, kvlGet(3207), "OutlineCB");
    FDrill = kvlCheckBox(optGB, kvlResources().Get(QStringLiteral("bvDrillDown")), "DrillCB");
    FReset = kvlCheckBox(optGB, kvlResources().Get(QStringLiteral("bvResetPageNo")), "ResetCB");
    for (QCheckBox *c : {FKeep, FNewPage, FOutline, FDrill, FReset})
        ol->addWidget(c);
    v->addWidget(optGB);
    v->addLayout(kvlOkCancelRow(this, kvlGet(1), "OKB", kvlGet(2), FOk, FCancel));

    TkvlReport *report = FGroup->Report();
    TStringList used;
    if (report)
        report->GetDataSetList(used);
    for (int i = 0; i < used.Count(); ++i)
        FDataSet->addItem(used[i]);
    const TkvlGroupCondition g =
        report ? kvlSplitGroupCondition(report, FGroup->Condition) : TkvlGroupCondition{false, {}, {}, FGroup->Condition};
    (g.DataField ? FDataFieldRB : FExpressionRB)->setChecked(true);
    if (g.DataField) {
        FDataSet->setCurrentIndex(FDataSet->findText(g.Source, Qt::MatchFixedString));
        if (FDataSet->currentIndex() < 0)
            FDataSet->setEditText(g.Source);
        FillFields();
        FDataField->setEditText(g.Field);
        FDataField->setFocus();
    } else {
        FExpression->setEditText(g.Expression);
        FExpression->setFocus();
    }
    FKeep->setChecked(FGroup->KeepTogether);
    FNewPage->setChecked(FGroup->StartNewPage);
    FDrill->setChecked(FGroup->DrillDown);
    FReset->setChecked(FGroup->ResetPageNumbers);
    FOutline->setChecked(!FGroup->OutlineText.trimmed().isEmpty());
    EnableChoice();
    connect(FDataSet, &QComboBox::currentIndexChanged, this, [this] { FillFields(); });
    connect(FDataFieldRB, &QRadioButton::toggled, this, [this] { EnableChoice(); });
    kvlMirrorIfRightToLeft(this);
}

void TkvlGroupEditorForm::FillFields()
{
    FDataField->clear();
    if (TkvlReport *report = FGroup->Report())
        FDataField->addItems(kvlSourceFields(report, FDataSet->currentText()));
}

void TkvlGroupEditorForm::EnableChoice()
{
    const bool field = FDataFieldRB->isChecked();
    FDataSet->setEnabled(field);
    FDataField->setEnabled(field);
    FExpression->setEnabled(!field);
}

void TkvlGroupEditorForm::done(int Result)
{
    if (Result == Accepted) {
        const TkvlGroupCondition g{FDataFieldRB->isChecked(), FDataSet->currentText(), FDataField->currentText(),
                                   FExpression->currentText()};
        FGroup->Condition = kvlJoinGroupCondition(g);
        FGroup->KeepTogether = FKeep->isChecked();
        FGroup->StartNewPage = FNewPage->isChecked();
        FGroup->DrillDown = FDrill->isChecked();
        FGroup->ResetPageNumbers = FReset->isChecked();
        FGroup->OutlineText = FOutline->isChecked() ? FGroup->Condition : QString();
    }
    QDialog::done(Result);
}

void TkvlGroupEditorForm::keyPressEvent(QKeyEvent *Event)
{
    if (!helpKey(this, Event))
        QDialog::keyPressEvent(Event);
}

// ---- lines ----------------------------------------------------------------------------------

TkvlStringsEditorForm::TkvlStringsEditorForm(QWidget *Owner) : QDialog(Owner)
{
    setObjectName(QStringLiteral("TkvlStringsEditorForm"));
    setWindowTitle(kvlGet(4800));
    setSizeGripEnabled(true);
    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    auto *bar = new QToolBar(this);
    FCancel = kvlToolButton(bar, 55, kvlGet(2), "CancelB");
    FOk = kvlToolButton(bar, 56, kvlGet(1), "OkB");
    v->addWidget(bar);
    FMemo = new QPlainTextEdit(this);
    FMemo->setObjectName(QStringLiteral("Memo"));
    FMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    FMemo->installEventFilter(this);
    v->addWidget(FMemo);
    connect(FCancel, &QToolButton::clicked, this, &QDialog::reject);
    connect(FOk, &QToolButton::clicked, this, &QDialog::accept);
    resize(400, 300);
    kvlMirrorIfRightToLeft(this);
}

bool TkvlStringsEditorForm::eventFilter(QObject *Watched, QEvent *Event)
{
    if (Watched == FMemo && Event->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(Event);
        if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && (k->modifiers() & Qt::ControlModifier)) {
            accept();
            return true;
        }
        if (k->key() == Qt::Key_Escape) {
            reject();
            return true;
        }
    }
    return QDialog::eventFilter(Watched, Event);
}

void TkvlStringsEditorForm::keyPressEvent(QKeyEvent *Event)
{
    if (!helpKey(this, Event))
        QDialog::keyPressEvent(Event);
}

// ---- picture --------------------------------------------------------------------------------

TkvlPictureEditorForm::TkvlPictureEditorForm(QWidget *Owner) : QDialog(Owner), FPicture(std::make_unique<TPicture>())
{
    setObjectName(QStringLiteral("TkvlPictureEditorForm"));
    setWindowTitle(kvlGet(4000));
    setSizeGripEnabled(true);
    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    auto *bar = new QToolBar(this);
    FLoad = kvlToolButton(bar, 1, kvlGet(4001), "LoadB");
    FCopy = kvlToolButton(bar, 6, kvlGet(4002), "CopyB");
    FPaste = kvlToolButton(bar, 7, kvlGet(4003), "PasteB");
    FClear = kvlToolButton(bar, 82, kvlGet(4004), "ClearB");
    bar->addSeparator();
    FCancel = kvlToolButton(bar, 55, kvlGet(2), "CancelB");
    FOk = kvlToolButton(bar, 56, kvlGet(1), "OkB");
    v->addWidget(bar);
    FBox = new QScrollArea(this);
    FBox->setObjectName(QStringLiteral("Box"));
    FBox->setAlignment(Qt::AlignCenter);
    FImage = new QLabel;
    FImage->setObjectName(QStringLiteral("Image"));
    FImage->setAlignment(Qt::AlignCenter);
    FBox->setWidget(FImage);
    FBox->setWidgetResizable(true);
    FBox->viewport()->installEventFilter(this);
    v->addWidget(FBox, 1);
    FStatus = new QStatusBar(this);
    FStatus->setObjectName(QStringLiteral("StatusBar"));
    FStatus->setSizeGripEnabled(false);
    v->addWidget(FStatus);
    connect(FLoad, &QToolButton::clicked, this, [this] { Load(); });
    connect(FCopy, &QToolButton::clicked, this, [this] { Copy(); });
    connect(FPaste, &QToolButton::clicked, this, [this] { Paste(); });
    connect(FClear, &QToolButton::clicked, this, [this] {
        FPicture->Clear();
        PictureChanged();
    });
    connect(FCancel, &QToolButton::clicked, this, &QDialog::reject);
    connect(FOk, &QToolButton::clicked, this, &QDialog::accept);
    resize(400, 300);
    PictureChanged();
    kvlMirrorIfRightToLeft(this);
}

TkvlPictureEditorForm::~TkvlPictureEditorForm() = default;

void TkvlPictureEditorForm::PictureChanged()
{
    FStatus->showMessage(kvlPictureStatus(*FPicture));
    if (FPicture->Empty()) {
        FImage->setPixmap(QPixmap());
        return;
    }
    QImage img(FPicture->Width(), FPicture->Height(), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    if (const auto *bmp = dynamic_cast<const TBitmap *>(FPicture->Graphic()))
        img = bmp->image();
    // Stretched only when larger than the box.
    const QSize room = FBox->viewport()->size();
    if (img.width() > room.width() || img.height() > room.height())
        img = img.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    FImage->setPixmap(QPixmap::fromImage(img));
}

bool TkvlPictureEditorForm::eventFilter(QObject *Watched, QEvent *Event)
{
    if (Watched == FBox->viewport() && Event->type() == QEvent::Resize)
        PictureChanged();
    return QDialog::eventFilter(Watched, Event);
}

void TkvlPictureEditorForm::Load()
{
    ui::FileDialogRequest r;
    r.filter = kvlResources().Get(QStringLiteral("ftPictures")) + QStringLiteral(" (*.bmp ") +
               QStringLiteral("*.jpg ") + QStringLiteral("*.png ") + QStringLiteral("*.ico *.wmf *.emf)|*.bmp;") +
               QStringLiteral("*.jpg;") + QStringLiteral("*.png;") + QStringLiteral("*.ico;*.wmf;*.emf|") +
               kvlResources().Get(QStringLiteral("ftAllFiles")) + QStringLiteral("|*.*");
    const ui::FileDialogResult a = ui::fileDialogs().Open(r);
    if (!a.accepted || a.fileName().isEmpty())
        return;
    // Read into a fresh picture: a file that is no picture keeps the one shown.
    TPicture loaded;
    try {
        loaded.LoadFromFile(a.fileName());
    } catch (const Exception &e) {
        kvlErrorMsg(e.message());
        return;
    }
    FPicture->Assign(&loaded);
    PictureChanged();
}

void TkvlPictureEditorForm::Copy()
{
    if (FPicture->Empty())
        return;
    if (const auto *bmp = dynamic_cast<const TBitmap *>(FPicture->Graphic()))
        QGuiApplication::clipboard()->setImage(bmp->image());
    PictureChanged();
}

void TkvlPictureEditorForm::Paste()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    const QImage img = data && data->hasImage() ? qvariant_cast<QImage>(data->imageData()) : QImage();
    if (img.isNull()) {
        kvlErrorMsg(kvlResources().Get(QStringLiteral("erInvalidImg")));
        return;
    }
    const TBitmap bmp(img);
    FPicture->SetGraphic(&bmp);
    PictureChanged();
}

void TkvlPictureEditorForm::keyPressEvent(QKeyEvent *Event)
{
    if (!helpKey(this, Event))
        QDialog::keyPressEvent(Event);
}

// ---- entries --------------------------------------------------------------------------------

bool kvlEditDataBand(TkvlDataBand *Band, TkvlCustomDesigner *Designer, QWidget *Owner)
{
    TkvlDataBandEditorForm f(Band, Designer, Owner);
    return f.exec() == QDialog::Accepted;
}

bool kvlEditGroup(TkvlGroupHeader *Group, TkvlCustomDesigner *Designer, QWidget *Owner)
{
    TkvlGroupEditorForm f(Group, Designer, Owner);
    return f.exec() == QDialog::Accepted;
}

bool kvlEditStrings(QString &Text, QWidget *Owner)
{
    TkvlStringsEditorForm f(Owner);
    f.Memo()->setPlainText(Text);
    if (f.exec() != QDialog::Accepted)
        return false;
    Text = f.Memo()->toPlainText();
    return true;
}

bool kvlEditPicture(TPicture *Picture, QWidget *Owner)
{
    TkvlPictureEditorForm f(Owner);
    f.Picture()->Assign(Picture);
    f.PictureChanged();
    if (f.exec() != QDialog::Accepted)
        return false;
    Picture->Assign(f.Picture());
    return true;
}
