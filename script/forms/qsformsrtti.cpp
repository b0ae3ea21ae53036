#include "script/forms/qsforms.h"

#include "platform/gfx/canvas.h"
#include "platform/rtl/objecthandles.h"
#include "script/classlib/qsbind.h"
#include "script/classlib/qsclassesrtti.h"
#include "script/classlib/qsgraphicsobjects.h"
#include "script/core/qsscript.h"
#include "script/forms/qsevents.h"
#include "script/forms/qsformsobjects.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

using qscl::Args;
using qscl::Int;
using qscl::ObjectArg;
using qscl::Self;
using qscl::Str;

namespace qsforms {
namespace {

#define QS_CALL [](const Variant &self, TqsClassRef, const QString &, Args &h) -> Variant
#define QS_GET [](const Variant &self, TqsClassRef, const QString &) -> Variant
#define QS_SET [](const Variant &self, TqsClassRef, const QString &, const Variant &v)

Variant Done() { return Variant(0); }
Variant Ref(TPersistent *obj) { return rtl::objectToVariant(obj); }
TControl &ControlSelf(const Variant &v) { return Self<TControl>(v, "TControl"); }
QWidget &WidgetOf(const Variant &v) { return ControlSelf(v).Widget(); }

template<class W>
W &WidgetAs(const Variant &v, const char *cls)
{
    auto *w = qobject_cast<W *>(&WidgetOf(v));
    if (!w)
        qscl::BadObject(v, cls);
    return *w;
}

void AddConstants(TqsScript *s)
{
    for (const char *t : {"TFormBorderStyle", "TBorderStyle", "TAlignment", "TLeftRight"})
        s->AddType(QLatin1String(t), qvtInt);
    s->AddEnumSet(QStringLiteral("TShiftState"), QStringLiteral("ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble"));
    s->AddEnum(QStringLiteral("TAlign"), QStringLiteral("alNone, alTop, alBottom, alLeft, alRight, alClient"));
    s->AddEnum(QStringLiteral("TMouseButton"), QStringLiteral("mbLeft, mbRight, mbMiddle"));
    s->AddEnumSet(QStringLiteral("TAnchors"), QStringLiteral("akLeft, akTop, akRight, akBottom"));
    s->AddEnum(QStringLiteral("TBevelCut"), QStringLiteral("bvNone, bvLowered, bvRaised, bvSpace"));
    s->AddEnum(QStringLiteral("TTextLayout"), QStringLiteral("tlTop, tlCenter, tlBottom"));
    s->AddEnum(QStringLiteral("TEditCharCase"), QStringLiteral("ecNormal, ecUpperCase, ecLowerCase"));
    s->AddEnum(QStringLiteral("TScrollStyle"), QStringLiteral("ssNone, ssHorizontal, ssVertical, ssBoth"));
    s->AddEnum(QStringLiteral("TComboBoxStyle"),
               QStringLiteral("csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable"));
    s->AddEnum(QStringLiteral("TCheckBoxState"), QStringLiteral("cbUnchecked, cbChecked, cbGrayed"));
    s->AddEnum(QStringLiteral("TListBoxStyle"), QStringLiteral("lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable"));
    s->AddEnum(QStringLiteral("TWindowState"), QStringLiteral("wsNormal, wsMinimized, wsMaximized"));
    s->AddEnum(QStringLiteral("TFormStyle"), QStringLiteral("fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop"));
    s->AddEnumSet(QStringLiteral("TBorderIcons"), QStringLiteral("biSystemMenu, biMinimize, biMaximize, biHelp"));
    s->AddEnum(QStringLiteral("TPosition"),
               QStringLiteral("poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter"));
    s->AddEnum(QStringLiteral("TCloseAction"), QStringLiteral("caNone, caHide, caFree, caMinimize"));

    static const struct
    {
        const char *name;
        int value;
    } constants[] = {
        {"mrNone", 0}, {"mrOk", 1}, {"mrCancel", 2}, {"mrAbort", 3}, {"mrRetry", 4}, {"mrIgnore", 5}, {"mrYes", 6},
        {"mrNo", 7}, {"mrAll", 12}, {"mrNoToAll", 13}, {"mrYesToAll", 14},
        {"crDefault", 0}, {"crNone", -1}, {"crArrow", -2}, {"crCross", -3}, {"crIBeam", -4}, {"crSize", -22},
        {"crSizeNESW", -6}, {"crSizeNS", -7}, {"crSizeNWSE", -8}, {"crSizeWE", -9}, {"crUpArrow", -10},
        {"crHourGlass", -11}, {"crDrag", -12}, {"crNoDrop", -13}, {"crHSplit", -14}, {"crVSplit", -15},
        {"crMultiDrag", -16}, {"crSQLWait", -17}, {"crNo", -18}, {"crAppStart", -19}, {"crHelp", -20},
        {"crHandPoint", -21}, {"crSizeAll", -22},
        {"bsNone", 0}, {"bsSingle", 1}, {"bsSizeable", 2}, {"bsDialog", 3}, {"bsToolWindow", 4}, {"bsSizeToolWin", 5},
        {"VK_RBUTTON", 2}, {"VK_CANCEL", 3}, {"VK_MBUTTON", 4}, {"VK_BACK", 8}, {"VK_TAB", 9}, {"VK_RETURN", 13},
        {"VK_SHIFT", 16}, {"VK_CONTROL", 17}, {"VK_MENU", 18}, {"VK_PAUSE", 19}, {"VK_CAPITAL", 20}, {"VK_ESCAPE", 27},
        {"VK_SPACE", 32}, {"VK_PRIOR", 33}, {"VK_NEXT", 34}, {"VK_END", 35}, {"VK_HOME", 36}, {"VK_LEFT", 37},
        {"VK_UP", 38}, {"VK_RIGHT", 39}, {"VK_DOWN", 40}, {"VK_INSERT", 45}, {"VK_DELETE", 46}, {"VK_HELP", 47},
        {"VK_LWIN", 91}, {"VK_RWIN", 92}, {"VK_APPS", 93}, {"VK_MULTIPLY", 106}, {"VK_ADD", 107},
        {"VK_SEPARATOR", 108}, {"VK_SUBTRACT", 109}, {"VK_DECIMAL", 110}, {"VK_DIVIDE", 111}, {"VK_NUMLOCK", 144},
        {"VK_SCROLL", 145},
        {"taLeftJustify", 0}, {"taRightJustify", 1}, {"taCenter", 2},
    };
    for (const auto &c : constants)
        s->AddConst(QLatin1String(c.name), QStringLiteral("Integer"), Variant(c.value));
    for (int i = 0; i <= 9; ++i)
        s->AddConst(QStringLiteral("VK_NUMPAD%1").arg(i), QStringLiteral("Integer"), Variant(96 + i));
    for (int i = 1; i <= 12; ++i)
        s->AddConst(QStringLiteral("VK_F%1").arg(i), QStringLiteral("Integer"), Variant(111 + i));
}

// The published properties every control shows, after the Qt property each maps to
// (doc/script-forms.md).
void AddControlProperties(TqsClassVariable *c)
{
    struct Geometry
    {
        const char *name;
        int which; // 0 left, 1 top, 2 width, 3 height
    };
    for (const Geometry g : {Geometry{"Left", 0}, Geometry{"Top", 1}, Geometry{"Width", 2}, Geometry{"Height", 3}}) {
        const int which = g.which;
        c->AddProperty(QLatin1String(g.name), QStringLiteral("Integer"),
                       [which](const Variant &self, TqsClassRef, const QString &) {
                           const QRect r = WidgetOf(self).geometry();
                           const int v[] = {r.x(), r.y(), r.width(), r.height()};
                           return Variant(v[which]);
                       },
                       [which](const Variant &self, TqsClassRef, const QString &, const Variant &v) {
                           QWidget &w = WidgetOf(self);
                           QRect r = w.geometry();
                           const int n = v.toInt();
                           if (which == 0)
                               r.moveLeft(n);
                           else if (which == 1)
                               r.moveTop(n);
                           else if (which == 2)
                               r.setWidth(std::clamp(n, 0, QWIDGETSIZE_MAX));
                           else
                               r.setHeight(std::clamp(n, 0, QWIDGETSIZE_MAX));
                           w.setGeometry(r);
                       });
    }
    for (const char *name : {"Caption", "Text"})
        c->AddProperty(QLatin1String(name), QStringLiteral("String"), QS_GET {
            return Variant(ControlSelf(self).Text());
        }, QS_SET { ControlSelf(self).SetText(v.toString()); });
    c->AddProperty(QStringLiteral("Visible"), QStringLiteral("Boolean"), QS_GET { return Variant(ControlSelf(self).Visible()); },
                   QS_SET { ControlSelf(self).SetVisible(v.toBool()); });
    c->AddProperty(QStringLiteral("Enabled"), QStringLiteral("Boolean"), QS_GET { return Variant(WidgetOf(self).isEnabled()); },
                   QS_SET { WidgetOf(self).setEnabled(v.toBool()); });
    c->AddProperty(QStringLiteral("Hint"), QStringLiteral("String"), QS_GET { return Variant(WidgetOf(self).toolTip()); },
                   QS_SET { WidgetOf(self).setToolTip(v.toString()); });
    c->AddProperty(QStringLiteral("Color"), QStringLiteral("TColor"), QS_GET {
        const QVariant c = WidgetOf(self).property("lirraColor");
        return Variant(c.isValid() ? c.toInt() : int(0xFF00000F)); // clBtnFace
    }, QS_SET {
        QWidget &w = WidgetOf(self);
        const uint32_t rgb = gfx::colorToRgb(v.toInt());
        QPalette p = w.palette();
        p.setColor(w.backgroundRole(), QColor(int(rgb & 0xFF), int(rgb >> 8 & 0xFF), int(rgb >> 16 & 0xFF)));
        w.setPalette(p);
        w.setAutoFillBackground(true);
        w.setProperty("lirraColor", v.toInt());
    });
    c->AddProperty(QStringLiteral("Name"), QStringLiteral("String"), QS_GET { return Variant(ControlSelf(self).Name()); },
                   QS_SET { ControlSelf(self).SetName(v.toString()); });
    c->AddProperty(QStringLiteral("Tag"), QStringLiteral("Integer"), QS_GET { return Variant(ControlSelf(self).Tag()); },
                   QS_SET { ControlSelf(self).SetTag(v.toInt()); });
    c->AddProperty(QStringLiteral("Items"), QStringLiteral("TStrings"), QS_GET {
        qscl::TStrings *items = ControlSelf(self).Items();
        if (!items)
            throw EqsRunError(QStringLiteral("%1 has no items").arg(ControlSelf(self).ClassName()));
        return Ref(items);
    });
}

void AddControlEvents(TqsClassVariable *c, std::initializer_list<std::pair<const char *, TqsEventFactory (*)(const QString &)>> events)
{
    for (const auto &[name, factory] : events)
        c->AddEvent(QLatin1String(name), factory(QLatin1String(name)));
}

void AddControls(TqsScript *script)
{
    if (TqsClassVariable *c = script->AddClass(TControl::StaticClass(), QStringLiteral("TComponent"))) {
        c->AddMethod(QStringLiteral("procedure Hide"), QS_CALL { (void)h; ControlSelf(self).SetVisible(false); return Done(); });
        c->AddMethod(QStringLiteral("procedure Show"), QS_CALL { (void)h; ControlSelf(self).SetVisible(true); return Done(); });
        c->AddMethod(QStringLiteral("procedure SetBounds(ALeft, ATop, AWidth, AHeight: Integer)"), QS_CALL {
            WidgetOf(self).setGeometry(Int(h, 0), Int(h, 1), std::clamp(Int(h, 2), 0, QWIDGETSIZE_MAX), std::clamp(Int(h, 3), 0, QWIDGETSIZE_MAX));
            return Done();
        });
        c->AddProperty(QStringLiteral("Parent"), QStringLiteral("TWinControl"), QS_GET { return Ref(ControlSelf(self).Parent()); },
                       QS_SET { ControlSelf(self).SetParent(ObjectArg<TWinControl>(v, "TWinControl")); });
        AddControlProperties(c);
        AddControlEvents(c, {{"OnCanResize", &qsFormEventFactory<TqsCanResizeEvent>},
                             {"OnClick", &qsFormEventFactory<TqsNotifyEvent>},
                             {"OnDblClick", &qsFormEventFactory<TqsNotifyEvent>},
                             {"OnMouseDown", &qsFormEventFactory<TqsMouseEvent>},
                             {"OnMouseMove", &qsFormEventFactory<TqsMouseMoveEvent>},
                             {"OnMouseUp", &qsFormEventFactory<TqsMouseEvent>},
                             {"OnResize", &qsFormEventFactory<TqsNotifyEvent>}});
    }
    if (TqsClassVariable *c = script->AddClass(TWinControl::StaticClass(), QStringLiteral("TControl"))) {
        c->AddMethod(QStringLiteral("procedure SetFocus"), QS_CALL { (void)h; WidgetOf(self).setFocus(); return Done(); });
        AddControlEvents(c, {{"OnEnter", &qsFormEventFactory<TqsNotifyEvent>},
                             {"OnExit", &qsFormEventFactory<TqsNotifyEvent>},
                             {"OnKeyDown", &qsFormEventFactory<TqsKeyEvent>},
                             {"OnKeyPress", &qsFormEventFactory<TqsKeyPressEvent>},
                             {"OnKeyUp", &qsFormEventFactory<TqsKeyEvent>}});
    }
    script->AddClass(TCustomControl::StaticClass(), QStringLiteral("TWinControl"));
    script->AddClass(TGraphicControl::StaticClass(), QStringLiteral("TControl"));
    script->AddClass(TGroupBox::StaticClass(), QStringLiteral("TWinControl"));
    script->AddClass(TLabel::StaticClass(), QStringLiteral("TControl"));
    if (TqsClassVariable *c = script->AddClass(TEdit::StaticClass(), QStringLiteral("TWinControl"))) {
        c->AddProperty(QStringLiteral("ReadOnly"), QStringLiteral("Boolean"),
                       QS_GET { return Variant(WidgetAs<QLineEdit>(self, "TEdit").isReadOnly()); },
                       QS_SET { WidgetAs<QLineEdit>(self, "TEdit").setReadOnly(v.toBool()); });
        c->AddProperty(QStringLiteral("MaxLength"), QStringLiteral("Integer"), QS_GET {
            const int n = WidgetAs<QLineEdit>(self, "TEdit").maxLength();
            return Variant(n == 32767 ? 0 : n);
        }, QS_SET { WidgetAs<QLineEdit>(self, "TEdit").setMaxLength(v.toInt() > 0 ? v.toInt() : 32767); });
        c->AddEvent(QStringLiteral("OnChange"), qsFormEventFactory<TqsNotifyEvent>(QStringLiteral("OnChange")));
    }
    if (TqsClassVariable *c = script->AddClass(TMemo::StaticClass(), QStringLiteral("TWinControl"))) {
        c->AddProperty(QStringLiteral("Lines"), QStringLiteral("TStrings"), QS_GET { return Ref(ControlSelf(self).Items()); });
        c->AddProperty(QStringLiteral("ReadOnly"), QStringLiteral("Boolean"),
                       QS_GET { return Variant(WidgetAs<QPlainTextEdit>(self, "TMemo").isReadOnly()); },
                       QS_SET { WidgetAs<QPlainTextEdit>(self, "TMemo").setReadOnly(v.toBool()); });
        c->AddEvent(QStringLiteral("OnChange"), qsFormEventFactory<TqsNotifyEvent>(QStringLiteral("OnChange")));
    }
    if (TqsClassVariable *c = script->AddClass(TCustomComboBox::StaticClass(), QStringLiteral("TWinControl"))) {
        c->AddProperty(QStringLiteral("DroppedDown"), QStringLiteral("Boolean"),
                       QS_GET { return Variant(WidgetAs<QComboBox>(self, "TCustomComboBox").view()->isVisible()); },
                       QS_SET {
                           auto &combo = WidgetAs<QComboBox>(self, "TCustomComboBox");
                           if (v.toBool())
                               combo.showPopup();
                           else
                               combo.hidePopup();
                       });
        c->AddProperty(QStringLiteral("ItemIndex"), QStringLiteral("Integer"), QS_GET {
            return Variant(WidgetAs<QComboBox>(self, "TCustomComboBox").currentIndex());
        }, QS_SET {
            auto &combo = WidgetAs<QComboBox>(self, "TCustomComboBox");
            const int i = v.toInt();
            combo.setCurrentIndex(i >= 0 && i < combo.count() ? i : -1);
        });
        c->AddProperty(QStringLiteral("Style"), QStringLiteral("TComboBoxStyle"),
                       QS_GET { return Variant(Self<TCustomComboBox>(self, "TCustomComboBox").Style()); },
                       QS_SET { Self<TCustomComboBox>(self, "TCustomComboBox").SetStyle(v.toInt()); });
        // the drop-down opening and closing are seen on the list's window
        AddControlEvents(c, {{"OnChange", &qsFormEventFactory<TqsNotifyEvent>},
                             {"OnDropDown", &qsFormEventFactory<TqsNotifyEvent>},
                             {"OnCloseUp", &qsFormEventFactory<TqsNotifyEvent>}});
    }
    script->AddClass(TComboBox::StaticClass(), QStringLiteral("TCustomComboBox"));
    if (TqsClassVariable *c = script->AddClass(TButton::StaticClass(), QStringLiteral("TWinControl"))) {
        c->AddProperty(QStringLiteral("ModalResult"), QStringLiteral("Integer"),
                       QS_GET { return Variant(Self<TButton>(self, "TButton").ModalResult); },
                       QS_SET { Self<TButton>(self, "TButton").ModalResult = v.toInt(); });
        c->AddProperty(QStringLiteral("Default"), QStringLiteral("Boolean"),
                       QS_GET { return Variant(WidgetAs<QPushButton>(self, "TButton").isDefault()); },
                       QS_SET { WidgetAs<QPushButton>(self, "TButton").setDefault(v.toBool()); });
    }
    for (const rtl::ClassInfo *cls : {TCheckBox::StaticClass(), TRadioButton::StaticClass()})
        if (TqsClassVariable *c = script->AddClass(cls, QStringLiteral("TWinControl")))
            c->AddProperty(QStringLiteral("Checked"), QStringLiteral("Boolean"),
                           QS_GET { return Variant(WidgetAs<QAbstractButton>(self, "TCheckBox").isChecked()); },
                           QS_SET { WidgetAs<QAbstractButton>(self, "TCheckBox").setChecked(v.toBool()); });
    if (TqsClassVariable *c = script->AddClass(TCustomListBox::StaticClass(), QStringLiteral("TWinControl"))) {
        c->AddProperty(QStringLiteral("ItemIndex"), QStringLiteral("Integer"), QS_GET {
            return Variant(WidgetAs<QListWidget>(self, "TCustomListBox").currentRow());
        }, QS_SET {
            auto &list = WidgetAs<QListWidget>(self, "TCustomListBox");
            const int i = v.toInt();
            list.setCurrentRow(i >= 0 && i < list.count() ? i : -1);
        });
        c->AddProperty(QStringLiteral("SelCount"), QStringLiteral("Integer"), QS_GET {
            return Variant(int(WidgetAs<QListWidget>(self, "TCustomListBox").selectedItems().size()));
        });
        c->AddProperty(QStringLiteral("MultiSelect"), QStringLiteral("Boolean"), QS_GET {
            return Variant(WidgetAs<QListWidget>(self, "TCustomListBox").selectionMode() == QAbstractItemView::MultiSelection);
        }, QS_SET {
            WidgetAs<QListWidget>(self, "TCustomListBox")
                .setSelectionMode(v.toBool() ? QAbstractItemView::MultiSelection : QAbstractItemView::SingleSelection);
        });
        c->AddIndexProperty(QStringLiteral("Selected"), QStringLiteral("Integer"), QStringLiteral("Boolean"),
                            [](const Variant &self, TqsClassRef, const QString &name, Args &h) -> Variant {
                                auto &list = WidgetAs<QListWidget>(self, "TCustomListBox");
                                QListWidgetItem *item = list.item(Int(h, 0));
                                if (!item)
                                    throw EStringListError(QStringLiteral("List index out of bounds (%1)").arg(Int(h, 0)));
                                if (name.endsWith(QLatin1String(".SET"))) {
                                    item->setSelected(h.GetVParam(1).toBool());
                                    return Done();
                                }
                                return Variant(item->isSelected());
                            });
    }
    script->AddClass(TListBox::StaticClass(), QStringLiteral("TCustomListBox"));
    script->AddClass(TControlScrollBar::StaticClass(), QStringLiteral("TPersistent"));
    script->AddClass(TScrollingWinControl::StaticClass(), QStringLiteral("TWinControl"));
    script->AddClass(TScrollBox::StaticClass(), QStringLiteral("TScrollingWinControl"));
}

TCustomForm &FormOf(const Variant &v) { return Self<TCustomForm>(v, "TCustomForm"); }

void AddForms(TqsScript *script)
{
    if (TqsClassVariable *c = script->AddClass(TCustomForm::StaticClass(), QStringLiteral("TScrollingWinControl"))) {
        c->AddMethod(QStringLiteral("procedure Close"), QS_CALL { (void)h; FormOf(self).Close(); return Done(); });
        c->AddMethod(QStringLiteral("procedure Hide"), QS_CALL { (void)h; FormOf(self).Dialog().hide(); return Done(); });
        c->AddMethod(QStringLiteral("procedure Show"), QS_CALL { (void)h; FormOf(self).Dialog().show(); return Done(); });
        c->AddMethod(QStringLiteral("function ShowModal: Integer"), QS_CALL { (void)h; return Variant(FormOf(self).ShowModal()); });
        c->AddProperty(QStringLiteral("Canvas"), QStringLiteral("TCanvas"), QS_GET { return Ref(&FormOf(self).Canvas()); });
        c->AddProperty(QStringLiteral("ModalResult"), QStringLiteral("Integer"), QS_GET { return Variant(FormOf(self).ModalResult()); },
                       QS_SET { FormOf(self).SetModalResult(v.toInt()); });
        c->AddProperty(QStringLiteral("Visible"), QStringLiteral("Boolean"), QS_GET { return Variant(FormOf(self).Dialog().isVisible()); },
                       QS_SET { FormOf(self).Dialog().setVisible(v.toBool()); });
        AddControlEvents(c, {{"OnActivate", &qsFormEventFactory<TqsNotifyEvent>},
                             {"OnClose", &qsFormEventFactory<TqsCloseEvent>},
                             {"OnCloseQuery", &qsFormEventFactory<TqsCloseQueryEvent>},
                             {"OnCreate", &qsFormEventFactory<TqsNotifyEvent>},
                             {"OnDestroy", &qsFormEventFactory<TqsNotifyEvent>},
                             {"OnDeactivate", &qsFormEventFactory<TqsNotifyEvent>},
                             {"OnHide", &qsFormEventFactory<TqsNotifyEvent>},
                             {"OnPaint", &qsFormEventFactory<TqsNotifyEvent>},
                             {"OnShow", &qsFormEventFactory<TqsNotifyEvent>}});
    }
    script->AddClass(TForm::StaticClass(), QStringLiteral("TCustomForm"));
    script->AddClass(TDataModule::StaticClass(), QStringLiteral("TComponent"));
    if (TqsClassVariable *c = script->AddClass(TApplication::StaticClass(), QStringLiteral("TComponent"))) {
        c->AddMethod(QStringLiteral("procedure Minimize"), QS_CALL {
            (void)self;
            (void)h;
            for (QWidget *w : QApplication::topLevelWidgets())
                if (w->isVisible())
                    w->showMinimized();
            return Done();
        });
        c->AddMethod(QStringLiteral("procedure ProcessMessages"), QS_CALL {
            (void)self;
            (void)h;
            QCoreApplication::processEvents();
            return Done();
        });
        c->AddMethod(QStringLiteral("procedure Restore"), QS_CALL {
            (void)self;
            (void)h;
            for (QWidget *w : QApplication::topLevelWidgets())
                if (w->isMinimized())
                    w->showNormal();
            return Done();
        });
        c->AddProperty(QStringLiteral("ExeName"), QStringLiteral("String"),
                       QS_GET { (void)self; return Variant(QCoreApplication::applicationFilePath()); });
    }
}

// The program's application object: one, made at first use, living as long as the process.
TApplication *ApplicationObject()
{
    static TApplication *app = [] {
        auto *a = new TApplication(nullptr);
        a->SetName(QStringLiteral("Application"));
        return a;
    }();
    return app;
}

} // namespace
} // namespace qsforms

using namespace qsforms;

TqsFormsFunctions::TqsFormsFunctions(TqsScript *script) : TqsRTTIModule(script)
{
    AddConstants(script);
    AddControls(script);
    AddForms(script);
    script->AddObject(QStringLiteral("Application"), ApplicationObject());
}

void qsRegisterFormsModules()
{
    static const bool done = [] {
        qsRegisterClassLibModules();
        auto &modules = qsRTTIModules();
        auto graphics = std::find(modules.begin(), modules.end(), &TqsGraphicsFunctions::Create);
        modules.insert(graphics == modules.end() ? modules.end() : graphics + 1, &TqsFormsFunctions::Create);
        auto ini = std::find(modules.begin(), modules.end(), &TqsIniFunctions::Create);
        modules.insert(ini, &TqsDialogsFunctions::Create);
        return true;
    }();
    (void)done;
}
