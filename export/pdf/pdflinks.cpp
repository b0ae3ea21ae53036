// The outline as bookmarks, and the views' hyperlinks as link annotations: reserved while
// pages are exported, written by Finish.
#include "export/pdf/pdfexport.h"
#include "export/pdf/pdftext.h"

#include "report/appearance/hyperlink.h"
#include "report/document/kvlreport.h"
#include "report/seams/kvlpreviewpages.h"
#include "report/views/kvlview.h"
#include "report/xml/xmlitem.h"

#include <cmath>
#include <memory>

using pdf::integer;
using pdf::ln;
using pdf::num;

namespace {

struct OutlineNode {
    QString Title;
    int Dest = -1;
    int Top = 0;
    int Number = 0;
    int CountTree = 0;   // all descendants
    std::vector<std::unique_ptr<OutlineNode>> Children;
};

// Every character outside the printable ASCII range as percent-encoded UTF-8.
QByteArray asciiUri(const QString &Value)
{
    QByteArray out;
    for (char c : Value.toUtf8()) {
        const auto b = uint8_t(c);
        if (b > 0x20 && b < 0x7F) {
            out += c;
        } else {
            static const char hex[] = "0123456789ABCDEF";
            out += '%';
            out += hex[b >> 4];
            out += hex[b & 15];
        }
    }
    return out;
}

// A whole number of at least 1, else 0.
int pageNumber(const QString &Text)
{
    bool ok = false;
    const int n = Text.trimmed().toInt(&ok);
    return ok && n >= 1 ? n : 0;
}

} // namespace

int TkvlPDFExport::ExportedPosition(int Page) const
{
    const int p = FPageList.isEmpty() ? Page : int(FPageList.indexOf(QString::number(Page + 1)));
    return p >= 0 && p < int(FPagesRef.size()) ? p : -1;
}

void TkvlPDFExport::AddLink(TkvlView *View)
{
    const TkvlHyperlink *h = View->Hyperlink();
    if (!h || h->FValue.isEmpty())
        return;
    Annot a;
    TkvlCustomPreviewPages *pages = Report ? Report->PreviewPages() : nullptr;
    switch (h->FKind) {
    case hkURL:
        a.URI = asciiUri(h->FValue);
        break;
    case hkAnchor: {
        TkvlXMLItem *anchor = pages ? pages->FindAnchor(h->FValue) : nullptr;
        if (!anchor)
            return;
        a.DestPage = anchor->Prop(QStringLiteral("page")).toInt();
        a.DestY = int(std::lround(GetTop(anchor->Prop(QStringLiteral("top")).toInt())));
        break;
    }
    case hkPageNumber: {
        const int n = pageNumber(h->FValue);
        if (n == 0)
            return;
        a.DestPage = n - 1;
        if (pages && a.DestPage >= pages->GetCount())
            a.DestPage = pages->GetCount() - 1;
        a.DestY = int(std::lround(GetTop(0)));
        break;
    }
    default:
        return;
    }
    const double x = View->GetAbsLeft(), y = View->GetAbsTop();
    pdf::Writer r(a.Rect);
    r << num(GetLeft(x)) << ' ' << num(GetTop(y + View->Height())) << ' ' << num(GetLeft(x + View->Width())) << ' '
      << num(GetTop(y));
    a.Number = UpdateXRef();
    FPageAnnots += ObjNumberRef(a.Number);
    FPageAnnots += "\r\n";
    FAnnots.push_back(std::move(a));
}

void TkvlPDFExport::WritePageAnnots(QByteArray &Out)
{
    if (FPageAnnots.isEmpty())
        return;
    pdf::Writer w(Out);
    w << "/Annots [" << ln << FPageAnnots << "]" << ln;
    FPageAnnots.resize(0);
}

void TkvlPDFExport::WriteAnnots()
{
    pdf::Writer w(FOut);
    for (const Annot &a : FAnnots) {
        FXRef[size_t(a.Number - 1)] = FFlushed + FOut.size();
        w << ObjNumber(a.Number) << ln << "<<" << ln << "/Type /Annot" << ln << "/Subtype /Link" << ln << "/Rect ["
          << a.Rect << "]" << ln;
        if (!a.URI.isEmpty()) {
            w << "/BS << /W 0 >>" << ln << "/A <<" << ln << "/URI " << LiteralString(a.URI, a.Number) << ln
              << "/Type /Action" << ln << "/S /URI" << ln << ">>" << ln;
        } else {
            w << "/Border [16 16 0]" << ln;
            const int p = ExportedPosition(a.DestPage);
            if (p >= 0)
                w << "/Dest [" << ObjNumberRef(FPagesRef[size_t(p)]) << " /XYZ null " << integer(a.DestY) << " null]"
                  << ln;
        }
        w << ">>" << ln << "endobj" << ln;
    }
    FAnnots.clear();
}

void TkvlPDFExport::WriteOutline()
{
    FOutlineRoot = 0;
    TkvlCustomPreviewPages *pages = Report ? Report->PreviewPages() : nullptr;
    if (!Outline || !pages || !pages->Outline)
        return;
    TkvlCustomOutline &outline = *pages->Outline;

    // The tree of the items on exported pages, numbered in the order they are written.
    OutlineNode root;
    root.Number = int(FXRef.size()) + 1;
    auto prepare = [&](auto &&self, OutlineNode &parent, int base, int depth) -> void {
        const int count = outline.GetCount();
        for (int i = 0; i < count; ++i) {
            auto node = std::make_unique<OutlineNode>();
            outline.GetItem(i, node->Title, node->Dest, node->Top);
            if (node->Dest < 0 || ExportedPosition(node->Dest) < 0)
                continue;
            node->Number = base + 1;
            if (depth < 64) {
                outline.LevelDown(i);
                self(self, *node, node->Number, depth + 1);
                outline.LevelUp();
            }
            parent.CountTree += node->CountTree + 1;
            base += node->CountTree + 1;
            parent.Children.push_back(std::move(node));
        }
    };
    outline.LevelRoot();
    prepare(prepare, root, root.Number, 0);
    outline.LevelRoot();
    if (root.Children.empty())
        return;

    pdf::Writer w(FOut);
    FOutlineRoot = UpdateXRef();
    // The counts are of all open descendants, as readers expect.
    w << ObjNumber(FOutlineRoot) << ln << "<<" << ln << "/Type /Outlines" << ln << "/Count "
      << integer(root.CountTree) << ln << "/First " << ObjNumberRef(root.Children.front()->Number) << ln << "/Last "
      << ObjNumberRef(root.Children.back()->Number) << ln << ">>" << ln << "endobj" << ln;
    auto write = [&](auto &&self, const OutlineNode &parent) -> void {
        for (size_t i = 0; i < parent.Children.size(); ++i) {
            const OutlineNode &n = *parent.Children[i];
            UpdateXRef();
            w << ObjNumber(n.Number) << ln << "<<" << ln << "/Title " << PrepareString(n.Title, n.Number) << ln
              << "/Parent " << ObjNumberRef(parent.Number) << ln;
            if (i > 0)
                w << "/Prev " << ObjNumberRef(parent.Children[i - 1]->Number) << ln;
            if (i + 1 < parent.Children.size())
                w << "/Next " << ObjNumberRef(parent.Children[i + 1]->Number) << ln;
            if (!n.Children.empty())
                w << "/First " << ObjNumberRef(n.Children.front()->Number) << ln << "/Last "
                  << ObjNumberRef(n.Children.back()->Number) << ln << "/Count " << integer(n.CountTree) << ln;
            const int p = ExportedPosition(n.Dest);
            w << "/Dest [" << ObjNumberRef(FPagesRef[size_t(p)]) << " /XYZ 0 "
              << integer(std::lround(FPageHeights[size_t(p)] - n.Top * 0.75)) << " 0]" << ln << ">>" << ln << "endobj"
              << ln;
            if (FOut.size() >= (1 << 16))
                Flush();
            self(self, n);
        }
    };
    write(write, root);
}
