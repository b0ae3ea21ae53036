#include "designer/core/docklayout.h"

#include <QSet>
#include <algorithm>

namespace {

const QByteArray kHeader = QByteArrayLiteral("kvldock 1");
constexpr int kMaxEntries = 64;

bool isName(QStringView s)
{
    if (s.isEmpty() || s.size() > 255 || s.front().isDigit())
        return false;
    return std::all_of(s.begin(), s.end(), [](QChar c) {
        return c == QLatin1Char('_') || (c.unicode() < 128 && c.isLetterOrNumber());
    });
}

} // namespace

int TkvlDockSiteModel::IndexOf(const QString &name) const
{
    for (size_t i = 0; i < Docked.size(); ++i)
        if (Docked[i].Name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

void TkvlDockSiteModel::DockOver(int draggedWidth, int draggedHeight)
{
    PanelSize = kvlDockByWidth(Side) ? draggedWidth : draggedHeight;
}

void TkvlDockSiteModel::DockDrop(const QString &name, int alongSize, int index)
{
    const int at = IndexOf(name);
    if (at >= 0)
        Docked.erase(Docked.begin() + at);
    if (index < 0 || index > int(Docked.size()))
        index = int(Docked.size());
    Docked.insert(Docked.begin() + index, TkvlDockEntry{name, std::max(0, alongSize)});
    if (Collapsed) {
        // A window docked into a collapsed site opens it again.
        Collapsed = false;
        Thickness = SavedSize;
    }
    if (Thickness < PanelSize)
        Thickness = PanelSize;
}

bool TkvlDockSiteModel::UnDockAt(int at)
{
    if (at < 0 || at >= int(Docked.size()))
        return false;
    Docked.erase(Docked.begin() + at);
    if (Docked.empty()) {
        Thickness = 0;
        Collapsed = false;
    }
    return true;
}

void TkvlDockSiteModel::ToggleCollapse()
{
    if (Collapsed) {
        Thickness = SavedSize;
        Collapsed = false;
    } else {
        SavedSize = Thickness;
        Thickness = 0;
        Collapsed = true;
    }
}

void TkvlDockSiteModel::DragSplitter(int dx, int dy)
{
    int delta = 0;
    switch (Side) {
    case TkvlDockSide::Left: delta = dx; break;
    case TkvlDockSide::Right: delta = -dx; break;
    case TkvlDockSide::Top: delta = dy; break;
    case TkvlDockSide::Bottom: delta = -dy; break;
    }
    Thickness = std::max(0, Thickness + delta);
    Collapsed = false;
}

QByteArray TkvlDockSiteModel::LayoutText() const
{
    QByteArray out = kHeader;
    for (const TkvlDockEntry &e : Docked)
        out += '\n' + QByteArray::number(e.Size) + ' ' + e.Name.toUtf8();
    return out;
}

bool TkvlDockSiteModel::ApplyLayoutText(const QByteArray &text, const std::function<bool(const QString &)> &known,
                                        int maxSize)
{
    const QList<QByteArray> lines = text.split('\n');
    if (lines.isEmpty() || lines.front().trimmed() != kHeader)
        return false;
    std::vector<TkvlDockEntry> next;
    QSet<QString> seen;
    for (qsizetype i = 1; i < lines.size() && int(next.size()) < kMaxEntries; ++i) {
        const QByteArray line = lines[i].trimmed();
        const qsizetype sp = line.indexOf(' ');
        if (sp <= 0)
            continue;
        bool ok = false;
        const long long size = line.left(sp).toLongLong(&ok);
        const QString name = QString::fromUtf8(line.mid(sp + 1)).trimmed();
        if (!ok || !isName(name) || seen.contains(name.toLower()) || !known(name))
            continue;
        seen.insert(name.toLower());
        next.push_back({name, int(std::clamp<long long>(size, 0, std::max(0, maxSize)))});
    }
    for (const TkvlDockEntry &e : Docked)
        if (!seen.contains(e.Name.toLower()))
            next.push_back(e);
    Docked = std::move(next);
    return true;
}

namespace kvldocksplitter {

Cursor CursorAt(TkvlDockSide side, int along, int length)
{
    if (std::abs(along - length / 2) <= HandReach)
        return Cursor::Hand;
    // A bar beside a left or right site is dragged sideways.
    return kvlDockByWidth(side) ? Cursor::SplitHorizontal : Cursor::SplitVertical;
}

QRect GripRect(TkvlDockSide side, int length)
{
    const int mid = length / 2;
    // From the middle minus 14 to the middle plus 15, across the whole bar.
    return kvlDockByWidth(side) ? QRect(0, mid - 14, Thickness, 29) : QRect(mid - 14, 0, 29, Thickness);
}

std::vector<QPoint> GripDots(TkvlDockSide side, int length)
{
    std::vector<QPoint> dots;
    const int first = length / 2 - 9;
    for (int k = 0; k < 7; ++k)
        dots.push_back(kvlDockByWidth(side) ? QPoint(2, first + 3 * k) : QPoint(first + 3 * k, 2));
    return dots;
}

} // namespace kvldocksplitter
