#include "app/widgets/dbedit.h"

#include "app/widgets/guard.h"

#include <QKeyEvent>

TDBEdit::TDBEdit(QWidget *parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textEdited, this, [this](const QString &text) { UserEdited(text); });
}

TDBEdit::~TDBEdit()
{
    if (FDataSet)
        FDataSet->RemoveObserver(this);
}

void TDBEdit::SetDataSet(TDataSet *ds)
{
    if (FDataSet == ds)
        return;
    if (FDataSet)
        FDataSet->RemoveObserver(this);
    FDataSet = ds;
    if (FDataSet)
        FDataSet->AddObserver(this);
    DataChange();
}

void TDBEdit::SetDataField(const QString &name)
{
    FDataField = name;
    DataChange();
}

TField *TDBEdit::Field() const
{
    if (!FDataSet || !FDataSet->Active() || FDataField.isEmpty())
        return nullptr;
    return FDataSet->FindField(FDataField);
}

void TDBEdit::DataSetBeforeClose(TDataSet &)
{
    if (!FWriting)
        clear();
}

void TDBEdit::DataSetDestroying(TDataSet &)
{
    FDataSet = nullptr;
    clear();
}

void TDBEdit::DataChange()
{
    if (FWriting)
        return;
    const TField *f = Field();
    if (f && f->IsText() && f->Size() > 0)
        setMaxLength(f->Size());
    const bool hasRow = f && (!FDataSet->IsEmpty() || FDataSet->State() == TDataSetState::dsInsert);
    const QString text = hasRow ? f->AsString() : QString();
    if (text != QLineEdit::text())
        setText(text);
}

void TDBEdit::UserEdited(const QString &text)
{
    TField *f = Field();
    if (!f || FDataSet->ReadOnly) {
        DataChange();
        return;
    }
    FWriting = true;
    const bool ok = RunGuarded([&] {
        if (FDataSet->State() == TDataSetState::dsBrowse) {
            if (FDataSet->IsEmpty())
                FDataSet->Insert();
            else
                FDataSet->Edit();
        }
        f->SetAsString(text);
    });
    FWriting = false;
    if (!ok)
        DataChange();
}

void TDBEdit::keyPressEvent(QKeyEvent *e)
{
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && FDataSet &&
        FDataSet->State() != TDataSetState::dsBrowse) {
        RunGuarded([this] { FDataSet->Post(); });
        e->accept();
        return;
    }
    QLineEdit::keyPressEvent(e);
}
