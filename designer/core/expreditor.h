#pragma once
// What the expression editor keeps between openings: the data tree's last tab and top item.
struct TkvlExprTreePosition {
    int Tab = 0;
    int TopItem = 0;
};

// Main thread only: the designer's dialogs run there.
TkvlExprTreePosition &kvlExprTreePosition();

inline constexpr const char *kvlExprEditorSection = "Form5.TkvlExprEditorForm";
