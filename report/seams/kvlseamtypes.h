#pragma once
// Small value types shared by the report model and the engine, preview and designer that
// plug into it.
#include <cstdint>

enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };

enum TShiftStateItem : uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
// Set of TShiftStateItem: bit 1 << item.
using TShiftState = uint16_t;

// What the mouse did over a prepared page.
enum TkvlMouseIntEvents : uint8_t { meClick, meDbClick, meMouseMove, meMouseUp, meMouseDown };

// The kind of a long operation reported through the progress operations.
enum TkvlProgressType : uint8_t { ptRunning, ptExporting, ptPrinting };

// Where the prepared-pages store puts a new page: appended, or over an existing one.
enum TkvlAddPageAction : uint8_t { apWriteOver, apAdd };

// Results of modal windows.
using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
