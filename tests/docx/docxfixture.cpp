#include "tests/docx/docxfixture.h"

#include "report/views/kvlpicture.h"

#include <QJsonDocument>
#include <QProcess>
#include <gtest/gtest.h>

std::unique_ptr<TkvlDOCXExport> NewDocxFilter(const QString &FileName)
{
    auto f = TkvlCustomExportFilter::CreateNoRegister<TkvlDOCXExport>();
    f->ShowDialog = false;
    f->ShowProgress = false;
    f->UseFileCache = false;
    f->FileName = FileName;
    return f;
}

QJsonObject ReadDocx(const QString &File)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(DOCX_TEST_DIR "/readdocx.py"), File});
    p.waitForFinished(60000);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}

QStringList FourPageReport(HandMadePages &Pages)
{
    // Page 1: a heading row of three memos, a framed memo spanning them over two rows beside
    // two small ones, and a tagged memo.
    TkvlBand *b = Pages.AddPage();
    NewMemo(b, 0, 0, 100, 20, QStringLiteral("Nord"));
    NewMemo(b, 100, 0, 100, 20, QStringLiteral("Centro"));
    NewMemo(b, 200, 0, 100, 20, QStringLiteral("Sud"));
    TkvlMemoView *wide = NewMemo(b, 0, 20, 300, 40, QStringLiteral("Riunione annuale"));
    wide->Frame()->SetTyp(kvlFrameAll);
    wide->SetColor(clYellow);
    NewMemo(b, 300, 20, 100, 20, QStringLiteral("Sala A"));
    NewMemo(b, 300, 40, 100, 20, QStringLiteral("Sala B"));
    TkvlMemoView *tagged = NewMemo(b, 0, 80, 300, 20, QStringLiteral("Ingresso <b>libero</b> per tutti"));
    tagged->AllowHTMLTags = true;

    // Page 2, landscape: a red memo, text turned both ways and a picture.
    b = Pages.AddPage();
    Pages.Pages.back()->SetOrientation(poLandscape);
    TkvlMemoView *red = NewMemo(b, 0, 0, 200, 20, QStringLiteral("Rosso"));
    red->SetColor(clRed);
    NewMemo(b, 0, 40, 20, 100, QStringLiteral("Su"))->SetRotation(90);
    NewMemo(b, 40, 40, 20, 100, QStringLiteral("Giu"))->SetRotation(270);
    auto *picture = new TkvlPictureView(b);
    picture->SetBounds(100, 40, 80, 60);
    picture->SetColor(clBlue);

    // Page 3 is empty.
    Pages.AddPage();

    // Page 4: two lines and a transparent memo.
    b = Pages.AddPage();
    NewMemo(b, 0, 0, 200, 40, QStringLiteral("Prima riga\r\nSeconda riga"));
    TkvlMemoView *clear = NewMemo(b, 0, 60, 200, 20, QStringLiteral("Trasparente"));
    clear->SetColor(clNone);

    return {QStringLiteral("Nord"),         QStringLiteral("Centro"),     QStringLiteral("Sud"),
            QStringLiteral("Riunione annuale"), QStringLiteral("Sala A"), QStringLiteral("Sala B"),
            QStringLiteral("Ingresso libero per tutti"), QStringLiteral("Rosso"), QStringLiteral("Su"),
            QStringLiteral("Giu"),          QStringLiteral("Prima riga"), QStringLiteral("Seconda riga"),
            QStringLiteral("Trasparente")};
}
