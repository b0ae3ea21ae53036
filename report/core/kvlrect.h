#pragma once
// Four extended coordinates: left, top, right, bottom. The report's objects give their
// bounds in pixels; the office exports keep page margins in millimetres in it.
struct TkvlRect {
    double Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TkvlRect &) const = default;
};
