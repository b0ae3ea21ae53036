// The forms and dialogs modules seen from scripts: their vocabulary, the module order, and
// the message and input functions answered by the UI fakes.
#include "platform/print/printdevice.h"
#include "platform/print/printerdialog.h"
#include "script/classlib/qsclassesrtti.h"
#include "script/items/qsclasses.h"
#include "tests/forms/formsfixture.h"

#include <QCoreApplication>

namespace {

using formstest::ScriptFixture;
using FormsModules = ScriptFixture;

TEST_F(FormsModules, ConstantsTypesAndModuleOrder)
{
    ASSERT_EQ(Run("DozovoZozedi", QStringLiteral("begin end.")), QString());
    const struct
    {
        const char *name;
        int value;
    } constants[] = {{"crSize", -22},      {"crSizeAll", -22},  {"crHandPoint", -21}, {"mrAll", 12},     {"mrYesToAll", 14},
                     {"mrNo", 7},          {"bsSizeToolWin", 5}, {"VK_NUMPAD9", 105},  {"VK_F12", 123},   {"VK_RETURN", 13},
                     {"VK_SCROLL", 145},   {"taCenter", 2},      {"ssCtrl", 4},        {"ssDouble", 64},  {"mbRight", 1},
                     {"caFree", 2},        {"csDropDownList", 2}, {"poDesktopCenter", 5}, {"mbNo", 2},     {"mbHelp", 1024},
                     {"mtConfirmation", 3}, {"ofEnableSizing", 1 << 19}, {"fdApplyButton", 1 << 15}};
    for (const auto &c : constants)
        EXPECT_EQ(script->Variables(QLatin1String(c.name)).toInt(), c.value) << c.name;
    const struct
    {
        const char *cls, *ancestor, *members;
    } classes[] = {
        {"TControl", "TComponent", "Hide Show SetBounds Parent OnCanResize OnClick OnDblClick OnMouseDown OnMouseMove OnMouseUp OnResize"},
        {"TWinControl", "TControl", "SetFocus OnEnter OnExit OnKeyDown OnKeyPress OnKeyUp"},
        {"TCustomComboBox", "TWinControl", "DroppedDown ItemIndex OnChange OnDropDown OnCloseUp"},
        {"TComboBox", "TCustomComboBox", ""},
        {"TCustomListBox", "TWinControl", "ItemIndex SelCount Selected"},
        {"TScrollBox", "TScrollingWinControl", ""},
        {"TCustomForm", "TScrollingWinControl",
         "Close Hide Show ShowModal Canvas ModalResult OnActivate OnClose OnCloseQuery OnCreate OnDestroy OnDeactivate OnHide "
         "OnPaint OnShow"},
        {"TForm", "TCustomForm", ""},
        {"TApplication", "TComponent", "Minimize ProcessMessages Restore ExeName"},
        {"TCommonDialog", "TComponent", "Execute"},
        {"TPrinterSetupDialog", "TCommonDialog", ""},
    };
    for (const auto &c : classes) {
        SCOPED_TRACE(c.cls);
        TqsClassVariable *cls = script->FindClass(QString::fromLatin1(c.cls));
        ASSERT_NE(cls, nullptr);
        EXPECT_EQ(cls->FAncestor, QLatin1String(c.ancestor));
        for (const QString &m : QString::fromLatin1(c.members).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            bool own = false;
            for (TqsCustomVariable *v : cls->FMembers)
                own = own || v->FName.compare(m, Qt::CaseInsensitive) == 0;
            EXPECT_TRUE(own) << m.toStdString();
        }
    }
    // general classes, graphics, forms, then dialogs and ini files
    const auto &modules = qsRTTIModules();
    auto at = [&](TqsRTTIModuleClass m) { return std::find(modules.begin(), modules.end(), m) - modules.begin(); };
    EXPECT_LT(at(&TqsClassesFunctions::Create), at(&TqsGraphicsFunctions::Create));
    EXPECT_EQ(at(&TqsGraphicsFunctions::Create) + 1, at(&TqsFormsFunctions::Create));
    EXPECT_EQ(at(&TqsDialogsFunctions::Create) + 1, at(&TqsIniFunctions::Create));
    EXPECT_LT(at(&TqsFormsFunctions::Create), at(&TqsDialogsFunctions::Create));

    ASSERT_EQ(Run("DozovoZozedi", QStringLiteral("var r: String;\nbegin r := Application.ExeName end.")), QString());
    EXPECT_EQ(Var("r"), QCoreApplication::applicationFilePath());
}

TEST_F(FormsModules, MessageDlgAnswersWithTheModalResultInEachLanguage)
{
    const struct
    {
        const char *language, *source;
    } programs[] = {
        {"DozovoZozedi", "var r: Integer;\nbegin r := MessageDlg('Salvare?', mtConfirmation, [mbYes, mbNo], 0) * 10 + "
                         "MessageDlg('Salvare?', mtConfirmation, [mbYes, mbNo], 0) end."},
        {"D++Iraved", "int r;\n{ r = MessageDlg(\"Salvare?\", mtConfirmation, mbYes + mbNo, 0) * 10 + "
                      "MessageDlg(\"Salvare?\", mtConfirmation, mbYes + mbNo, 0); }"},
        {"DevavAraroz", "Dim r\nr = MessageDlg(\"Salvare?\", mtConfirmation, mbYes + mbNo, 0) * 10 + "
                        "MessageDlg(\"Salvare?\", mtConfirmation, mbYes + mbNo, 0)"},
        {"JScript", "var r;\nr = MessageDlg(\"Salvare?\", mtConfirmation, mbYes + mbNo, 0) * 10 + "
                    "MessageDlg(\"Salvare?\", mtConfirmation, mbYes + mbNo, 0);"},
    };
    for (const auto &p : programs) {
        SCOPED_TRACE(p.language);
        services.messages.shown.clear();
        services.messages.answers = {ui::mbYes, ui::mbNo};
        ASSERT_EQ(Run(p.language, QString::fromLatin1(p.source)), QString());
        EXPECT_EQ(Var("r"), QStringLiteral("67")); // mrYes, then mrNo
        ASSERT_EQ(services.messages.shown.size(), 2);
        EXPECT_EQ(services.messages.shown[0].buttons, ui::mbYes | ui::mbNo);
        EXPECT_EQ(services.messages.shown[0].icon, ui::MsgIcon::Question);
        EXPECT_EQ(services.messages.shown[0].text, QStringLiteral("Salvare?"));
    }
}

TEST_F(FormsModules, InputFunctionsKeepTheValueWhenCancelled)
{
    const char *src = "var r, v: String; ok: Boolean;\n"
                      "begin v := 'prima'; ok := InputQuery('Titolo', 'Nome', v); r := BoolToStr(ok) + '|' + v + '|' + "
                      "InputBox('Titolo', 'Nome', 'vuoto') end.";
    input.accept = false;
    ASSERT_EQ(Run("DozovoZozedi", QString::fromLatin1(src)), QString());
    EXPECT_EQ(Var("r"), QStringLiteral("0|prima|vuoto"));
    input.accept = true;
    input.answer = QStringLiteral("dopo");
    ASSERT_EQ(Run("DozovoZozedi", QString::fromLatin1(src)), QString());
    EXPECT_EQ(Var("r"), QStringLiteral("-1|dopo|dopo"));
}

TEST_F(FormsModules, CommonDialogsGoThroughTheDialogServices)
{
    services.files.answers = {ui::FileDialogResult{true, {QStringLiteral("/tmp/a.txt")}, 2}};
    services.colors.answer = 0x123456;
    ASSERT_EQ(Run("DozovoZozedi",
                  QStringLiteral("var r: String; o: TOpenDialog; c: TColorDialog;\n"
                                 "begin o := TOpenDialog.Create(nil); o.Filter := 'Testo|*.txt|Tutti|*.*'; o.Title := 'Scegli';\n"
                                 " r := BoolToStr(o.Execute) + o.FileName + IntToStr(o.FilterIndex) + BoolToStr(o.Execute);\n"
                                 " c := TColorDialog.Create(nil); r := r + BoolToStr(c.Execute) + IntToStr(c.Color); o.Free; c.Free end.")),
              QString());
    EXPECT_EQ(Var("r"), QStringLiteral("-1/tmp/a.txt20-1") + QString::number(0x123456));
    ASSERT_EQ(services.files.opened.size(), 2);
    EXPECT_EQ(services.files.opened[0].title, QStringLiteral("Scegli"));
    EXPECT_EQ(services.files.opened[0].filter, QStringLiteral("Testo|*.txt|Tutti|*.*"));

    // The font dialog starts from the dialog's font and gives the choice back to it.
    services.fonts.answer = ui::FontChoice{QStringLiteral("DejaVu Serif"), 14, true, false, false, false};
    ASSERT_EQ(Run("DozovoZozedi",
                  QStringLiteral("var r: String; f: TFontDialog;\n"
                                 "begin f := TFontDialog.Create(nil); f.Font.Name := 'DejaVu Sans';\n"
                                 " r := BoolToStr(f.Execute) + f.Font.Name; f.Free end.")),
              QString());
    EXPECT_EQ(Var("r"), QStringLiteral("-1DejaVu Serif"));
    ASSERT_EQ(services.fonts.shown.size(), 1);
    EXPECT_EQ(services.fonts.shown[0].family, QStringLiteral("DejaVu Sans"));
}

// One queue, "Ufficio", whose details cannot be read: the dialog starts from the plain
// defaults.
class OneQueue final : public print::PrintSystem
{
public:
    QStringList printerNames() override { return {QStringLiteral("Ufficio")}; }
    QString defaultPrinterName() override { return QStringLiteral("Ufficio"); }
    std::unique_ptr<print::Printer> printer(const QString &) override { return nullptr; }
};

// Answers with the next of its answers, choosing five copies and long-edge duplex.
class FakePrinterDialog final : public print::IPrinterDialog
{
public:
    bool Execute(const QString &printerName, const QList<print::NumberedName> &, print::PageSetup &setup) override
    {
        shown.push_back({printerName, setup});
        const bool ok = !answers.empty() && answers.front();
        if (!answers.empty())
            answers.erase(answers.begin());
        if (ok) {
            setup.copies = 5;
            setup.duplex = print::DuplexVertical;
        }
        return ok;
    }
    std::vector<bool> answers;
    std::vector<std::pair<QString, print::PageSetup>> shown;
};

TEST_F(FormsModules, PrintDialogsGoThroughThePrinterDialog)
{
    OneQueue queue;
    FakePrinterDialog dialog;
    print::PrintSystem *oldSystem = print::installPrintSystem(&queue);
    print::IPrinterDialog *oldDialog = print::install(&dialog);
    dialog.answers = {true, false, true};
    const QString ran = Run("DozovoZozedi",
                            QStringLiteral("var r: String; p: TPrintDialog; s: TPrinterSetupDialog;\n"
                                           "begin p := TPrintDialog.Create(nil); p.Copies := 2;\n"
                                           " r := BoolToStr(p.Execute) + IntToStr(p.Copies) + BoolToStr(p.Execute) + IntToStr(p.Copies);\n"
                                           " s := TPrinterSetupDialog.Create(nil); r := r + BoolToStr(s.Execute); p.Free; s.Free end."));
    print::install(oldDialog);
    print::installPrintSystem(oldSystem);
    ASSERT_EQ(ran, QString());
    EXPECT_EQ(Var("r"), QStringLiteral("-1505-1")); // a refused dialog leaves the last choice
    ASSERT_EQ(dialog.shown.size(), 3u);
    EXPECT_EQ(dialog.shown[0].first, QStringLiteral("Ufficio"));
    EXPECT_EQ(dialog.shown[0].second.copies, 2);
    EXPECT_EQ(dialog.shown[0].second.duplex, print::DuplexSimplex);
    // the second time starts from the first choice
    EXPECT_EQ(dialog.shown[1].second.copies, 5);
    EXPECT_EQ(dialog.shown[1].second.duplex, print::DuplexVertical);
    EXPECT_EQ(dialog.shown[2].second.duplex, print::DuplexSimplex);
}

} // namespace
