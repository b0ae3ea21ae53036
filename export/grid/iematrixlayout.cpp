// Laying the grid's objects into cells: merged and split edge positions become columns and
// rows, each object gets its rectangle of cells, later objects win overlapped cells, and the
// partly covered earlier objects are cut into rectangular pieces.
#include "export/grid/iematrix.h"

#include "platform/gfx/graphic.h"

#include <algorithm>
#include <cmath>

void TkvlIEMatrix::Prepare()
{
    FPrevObject = nullptr;
    OrderByCells();
    FWidth = XPosCount();
    FHeight = YPosCount();
    Render();
    if (!EmptyLines) {
        int i = 0;
        while (i < FHeight - 1) {
            bool empty = true;
            for (int x = 0; x < FWidth && empty; ++x)
                empty = GetCell(x, i) == -1;
            if (empty)
                DeleteMatrixLine(i);
            else
                ++i;
        }
    }
    Analyse();
    if (FramesOptimization)
        OptimizeFrames();
}

void TkvlIEMatrix::OrderPosArray(std::vector<double> &List, double MaxCell)
{
    std::sort(List.begin(), List.end());
    // A run of positions each closer than Inaccuracy to the next collapses into its highest.
    size_t keep = 0;
    for (size_t i = 0; i < List.size(); ++i)
        if (i + 1 == List.size() || List[i + 1] - List[i] >= Inaccuracy)
            List[keep++] = List[i];
    List.resize(keep);
    if (MaxCell <= 0)
        return;
    const size_t pairs = List.size();
    bool added = false;
    for (size_t i = 0; i + 1 < pairs; ++i) {
        const double a = List[i], b = List[i + 1];
        if (b - a <= MaxCell)
            continue;
        const int n = int(std::floor((b - a) / MaxCell));
        for (int k = 1; k <= n; ++k) {
            const size_t before = List.size();
            AddPos(List, a + k * MaxCell);
            added |= List.size() != before;
        }
    }
    if (added)
        std::sort(List.begin(), List.end());
}

void TkvlIEMatrix::OrderByCells()
{
    OrderPosArray(FXPos, MaxCellWidth);
    OrderPosArray(FYPos, MaxCellHeight);
    // First position at or above v, and the number of steps from there until a position at or
    // beyond v + size (or the last one) is reached.
    auto place = [](const std::vector<double> &List, double v, double size, int &at, int &span) {
        const auto it = std::lower_bound(List.begin(), List.end(), v);
        const int i = int(it - List.begin());
        if (i >= int(List.size()))
            return;
        at = i;
        span = 0;
        double reached = v;
        int j = i;
        while (reached < v + size && j < int(List.size()) - 1) {
            ++j;
            ++span;
            reached = List[size_t(j)];
        }
    };
    for (TkvlIEMObjectList &r : FObjects) {
        place(FXPos, r.Obj->Left, r.Obj->Width, r.x, r.dx);
        place(FYPos, r.Obj->Top, r.Obj->Height, r.y, r.dy);
    }
}

void TkvlIEMatrix::SetCell(int x, int y, int Value)
{
    if (x >= 0 && y >= 0 && x < FWidth && y < FHeight)
        FMatrix[size_t(x) + size_t(y) * size_t(FWidth)] = Value;
}

void TkvlIEMatrix::FillArea(int x, int y, int dx, int dy, int Value)
{
    const int x0 = std::max(x, 0), x1 = std::min(x + dx, FWidth);
    const int y0 = std::max(y, 0), y1 = std::min(y + dy, FHeight);
    for (int j = y0; j < y1; ++j)
        std::fill_n(FMatrix.begin() + ptrdiff_t(j) * FWidth + x0, std::max(x1 - x0, 0), Value);
}

void TkvlIEMatrix::Render()
{
    FMatrix.assign(size_t(FWidth) * size_t(FHeight), -1);
    for (int k = 0; k < ObjectsCount(); ++k) {
        TkvlIEMObjectList &r = FObjects[size_t(k)];
        TkvlIEMObject &O = *r.Obj;
        if (O.Style && O.Style->Color == clNone) {
            const int under = GetCell(r.x, r.y);
            if (under >= 0) {
                const TkvlIEMStyle *u = FObjects[size_t(under)].Obj->Style;
                if (u && u->Color != O.Style->Color && u->Color != O.Style->Font.Color()) {
                    TkvlIEMStyle &S = ScratchStyle();
                    S.Assign(*O.Style);
                    S.Color = u->Color;
                    O.StyleIndex = AddStyleCopy(S);
                    O.Style = FStyles[size_t(O.StyleIndex)].get();
                }
            }
        }
        FillArea(r.x, r.y, r.dx, r.dy, k);
    }
}

void TkvlIEMatrix::DeleteMatrixLine(int Index)
{
    if (Index < 0 || Index >= FHeight)
        return;
    const double h = Index + 1 < YPosCount() ? FYPos[size_t(Index) + 1] - FYPos[size_t(Index)] : 0;
    for (size_t j = size_t(Index) + 1; j < FYPos.size(); ++j)
        FYPos[j] -= h;
    FYPos.erase(FYPos.begin() + Index);
    FMatrix.erase(FMatrix.begin() + ptrdiff_t(Index) * FWidth, FMatrix.begin() + ptrdiff_t(Index + 1) * FWidth);
    --FHeight;
}

void TkvlIEMatrix::FindRectArea(int x, int y, int &w, int &h) const
{
    const int k = GetCell(x, y);
    auto run = [&](int row) {
        int n = 0;
        while (x + n < FWidth && GetCell(x + n, row) == k)
            ++n;
        return n;
    };
    w = run(y);
    h = 1;
    while (y + h < FHeight && GetCell(x, y + h) == k && run(y + h) >= w)
        ++h;
}

void TkvlIEMatrix::Analyse()
{
    for (int i = 0; i < FHeight; ++i)
        for (int j = 0; j < FWidth; ++j) {
            const int k = GetCell(j, i);
            if (k < 0 || FObjects[size_t(k)].Exist)
                continue;
            int w = 0, h = 0;
            FindRectArea(j, i, w, h);
            TkvlIEMObjectList &r = FObjects[size_t(k)];
            if (w == r.dx && h == r.dy) {
                r.x = j;
                r.y = i;
            }
            if (j == r.x && i == r.y && w == r.dx && h == r.dy)
                r.Exist = true;
            else
                CutObject(k, j, i, w, h);
        }
}

void TkvlIEMatrix::CutObject(int k, int x, int y, int w, int h)
{
    TkvlIEMObject &O = *FObjects[size_t(k)].Obj;
    TkvlIEMObject *P = NewObject();
    P->StyleIndex = O.StyleIndex;
    P->Style = O.Style;
    P->Left = FXPos[size_t(x)];
    P->Top = FYPos[size_t(y)];
    P->Width = FXPos[size_t(std::min(x + w, XPosCount() - 1))] - P->Left;
    P->Height = FYPos[size_t(std::min(y + h, YPosCount() - 1))] - P->Top;
    P->IsText = O.IsText;
    P->HTMLTags = O.HTMLTags;
    if (O.Top + O.Height - P->Top > O.Height / 3 && O.Left + O.Width - P->Left > O.Width / 3) {
        if (!O.FIsMetaFile) {
            O.GetImage();
            P->FImage = std::move(O.FImage);
            P->FIsMetaFile = false;
        }
        P->Memo = O.Memo;
        P->IsText = O.IsText;
        O.Memo.clear();
        O.IsText = true;
    }
    const int n = ObjectsCount();
    TkvlIEMObjectList rec;
    rec.Obj = P;
    rec.x = x;
    rec.y = y;
    rec.dx = w;
    rec.dy = h;
    FObjects.push_back(std::move(rec));
    ReplaceArea(k, x, y, w, h, n);
    CloneFrames(k, n);
    FObjects[size_t(n)].Exist = true;
}

void TkvlIEMatrix::ReplaceArea(int k, int x, int y, int w, int h, int NewIndex)
{
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            if (GetCell(i, j) == k)
                SetCell(i, j, NewIndex);
}

void TkvlIEMatrix::RestyleObject(TkvlIEMObject &O, const TkvlIEMStyle &From, TkvlFrameTyp Frame)
{
    TkvlIEMStyle &S = ScratchStyle();
    S.Assign(From);
    S.FrameTyp = Frame;
    O.StyleIndex = AddStyleCopy(S);
    O.Style = FStyles[size_t(O.StyleIndex)].get();
}

void TkvlIEMatrix::CloneFrames(int k, int n)
{
    const TkvlIEMObject &O = *FObjects[size_t(k)].Obj;
    TkvlIEMObject &P = *FObjects[size_t(n)].Obj;
    if (!O.Style || !P.Style)
        return;
    const TkvlFrameTyp f = O.Style->FrameTyp;
    TkvlFrameTyp S = 0;
    if ((f & kvlFrameBit(ftTop)) && P.Top == O.Top)
        S |= kvlFrameBit(ftTop);
    if ((f & kvlFrameBit(ftLeft)) && P.Left == O.Left)
        S |= kvlFrameBit(ftLeft);
    if ((f & kvlFrameBit(ftBottom)) && P.Top + P.Height == O.Top + O.Height)
        S |= kvlFrameBit(ftBottom);
    if ((f & kvlFrameBit(ftRight)) && P.Left + P.Width == O.Left + O.Width)
        S |= kvlFrameBit(ftRight);
    if (S != P.Style->FrameTyp)
        RestyleObject(P, *O.Style, S);
}

void TkvlIEMatrix::OptimizeFrames()
{
    auto lineMatch = [](const TkvlFrameLine &a, const TkvlFrameLine &b) {
        return a.Width() == b.Width() && a.Color() == b.Color();
    };
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x) {
            const int k = GetCell(x, y);
            if (k < 0)
                continue;
            TkvlIEMObject &O = *FObjects[size_t(k)].Obj;
            if (!O.Style)
                continue;
            TkvlFrameTyp S = O.Style->FrameTyp;
            if ((S & kvlFrameBit(ftTop)) && y > 0) {
                const int a = GetCell(x, y - 1);
                const TkvlIEMStyle *u = a >= 0 && a != k ? FObjects[size_t(a)].Obj->Style : nullptr;
                if (u && (u->FrameTyp & kvlFrameBit(ftBottom)) && lineMatch(u->BottomLine, O.Style->TopLine))
                    S &= ~kvlFrameBit(ftTop);
            }
            if ((S & kvlFrameBit(ftLeft)) && x > 0) {
                const int a = GetCell(x - 1, y);
                const TkvlIEMStyle *u = a >= 0 && a != k ? FObjects[size_t(a)].Obj->Style : nullptr;
                if (u && (u->FrameTyp & kvlFrameBit(ftRight)) && lineMatch(u->RightLine, O.Style->LeftLine))
                    S &= ~kvlFrameBit(ftLeft);
            }
            if (S != O.Style->FrameTyp)
                RestyleObject(O, *O.Style, S);
        }
}
