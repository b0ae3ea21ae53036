#pragma once
// Word-processing package export: every page is laid into the export grid and becomes one
// fixed-layout table in a section of its own with the page's paper and margins. Grid columns
// become table columns, grid rows rows of exact height, each object a cell spanning columns
// and rows with its text, tagged text or picture.
#include "export/common/exportoutput.h"
#include "export/picture/kvlimageconverter.h"
#include "report/seams/kvlexportfilter.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <set>

class QFile;
class TkvlIEMatrix;
class TkvlIEMObject;

class TkvlDOCXExport : public TkvlCustomExportFilter {
    LIRRA_CLASS(TkvlDOCXExport, TkvlCustomExportFilter)
public:
    explicit TkvlDOCXExport(TComponent *AOwner);
    ~TkvlDOCXExport() override;

    bool OpenAfterExport = false;
    TkvlPictureType PictureType = gpPNG;

    TModalResult ShowModal() override;
    bool Start() override;
    void StartPage(TkvlPage *Page, int Index) override;
    void ExportObject(TkvlComponent *Obj) override;
    void FinishPage(TkvlPage *Page, int Index) override;
    void Finish() override;

private:
    struct Page;
    void WriteTable(QByteArray &Out);
    void WriteCellContent(QByteArray &Out, TkvlIEMObject &O, const QByteArray &Font);
    bool WriteTaggedText(QByteArray &Out, const TkvlIEMObject &O);
    void WritePicture(QByteArray &Out, TkvlIEMObject &O);
    void WriteDocument(const QByteArray &Bytes);
    void Fail(const QString &Message);
    void Cleanup();

    std::unique_ptr<TkvlIEMatrix> FMatrix;
    std::unique_ptr<QFile> FDocument;
    std::unique_ptr<Page> FLastPage;
    QByteArray FDocRels;
    std::set<QString> FMediaExtensions;
    TkvlExportOutput FOutput;
    QString FDocFolder;
    QString FError;
    int FPicNum = 1;
    bool FFirstPage = true;
};

// Start-up: the filter class enters the class registry.
void kvlRegisterDOCXExportClasses();
