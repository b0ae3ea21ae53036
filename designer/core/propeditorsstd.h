#pragma once
// The standard property editors: one for every kind of published property, and those of the
// common types (names, colours, fonts, shortcuts, cursors, dates).
#include "designer/core/propeditors.h"

class TkvlIntegerProperty : public TkvlPropertyEditor {
public:
    using TkvlPropertyEditor::TkvlPropertyEditor;
    KVL_EDITOR_NAME(TkvlIntegerProperty)
    TkvlPropertyAttributes GetAttributes() override;
    QString GetValue() override;
    void SetValue(const QString &Value) override;
};

class TkvlFloatProperty : public TkvlPropertyEditor {
public:
    using TkvlPropertyEditor::TkvlPropertyEditor;
    KVL_EDITOR_NAME(TkvlFloatProperty)
    TkvlPropertyAttributes GetAttributes() override;
    QString GetValue() override;
    void SetValue(const QString &Value) override;
};

class TkvlCharProperty : public TkvlPropertyEditor {
public:
    using TkvlPropertyEditor::TkvlPropertyEditor;
    KVL_EDITOR_NAME(TkvlCharProperty)
    TkvlPropertyAttributes GetAttributes() override;
    QString GetValue() override;
    void SetValue(const QString &Value) override;
};

class TkvlStringProperty : public TkvlPropertyEditor {
public:
    using TkvlPropertyEditor::TkvlPropertyEditor;
    KVL_EDITOR_NAME(TkvlStringProperty)
    TkvlPropertyAttributes GetAttributes() override;
    QString GetValue() override;
    void SetValue(const QString &Value) override;
};

class TkvlEnumProperty : public TkvlPropertyEditor {
public:
    using TkvlPropertyEditor::TkvlPropertyEditor;
    KVL_EDITOR_NAME(TkvlEnumProperty)
    TkvlPropertyAttributes GetAttributes() override;
    QString GetValue() override;
    void GetValues() override;
    void SetValue(const QString &Value) override;
};

class TkvlSetProperty : public TkvlPropertyEditor {
public:
    using TkvlPropertyEditor::TkvlPropertyEditor;
    KVL_EDITOR_NAME(TkvlSetProperty)
    TkvlPropertyAttributes GetAttributes() override;
    QString GetValue() override;
};

class TkvlSetElementProperty : public TkvlPropertyEditor {
public:
    using TkvlPropertyEditor::TkvlPropertyEditor;
    KVL_EDITOR_NAME(TkvlSetElementProperty)
    int Element = 0;  // the ordinal this row stands for
    TkvlPropertyAttributes GetAttributes() override;
    QString GetName() override;
    QString GetValue() override;
    void GetValues() override;
    void SetValue(const QString &Value) override;
};

class TkvlClassProperty : public TkvlPropertyEditor {
public:
    using TkvlPropertyEditor::TkvlPropertyEditor;
    KVL_EDITOR_NAME(TkvlClassProperty)
    TkvlPropertyAttributes GetAttributes() override;
    QString GetValue() override;
};

class TkvlComponentProperty : public TkvlPropertyEditor {
public:
    using TkvlPropertyEditor::TkvlPropertyEditor;
    KVL_EDITOR_NAME(TkvlComponentProperty)
    TkvlPropertyAttributes GetAttributes() override;
    QString GetValue() override;
    void GetValues() override;
    void SetValue(const QString &Value) override;
};

class TkvlNameProperty : public TkvlStringProperty {
public:
    using TkvlStringProperty::TkvlStringProperty;
    KVL_EDITOR_NAME(TkvlNameProperty)
    TkvlPropertyAttributes GetAttributes() override;
};

class TkvlColorProperty : public TkvlIntegerProperty {
public:
    using TkvlIntegerProperty::TkvlIntegerProperty;
    KVL_EDITOR_NAME(TkvlColorProperty)
    bool Edit() override;
    TkvlPropertyAttributes GetAttributes() override;
    QString GetValue() override;
    void GetValues() override;
    void SetValue(const QString &Value) override;
    void OnDrawLBItem(TCanvas &Canvas, int Index, const QRect &Rect, bool Selected) override;
    void OnDrawItem(TCanvas &Canvas, const QRect &Rect) override;
};

class TkvlFontProperty : public TkvlClassProperty {
public:
    using TkvlClassProperty::TkvlClassProperty;
    KVL_EDITOR_NAME(TkvlFontProperty)
    bool Edit() override;
    TkvlPropertyAttributes GetAttributes() override;
};

class TkvlFontNameProperty : public TkvlStringProperty {
public:
    using TkvlStringProperty::TkvlStringProperty;
    KVL_EDITOR_NAME(TkvlFontNameProperty)
    TkvlPropertyAttributes GetAttributes() override;
    void GetValues() override;
};

class TkvlFontCharsetProperty : public TkvlIntegerProperty {
public:
    using TkvlIntegerProperty::TkvlIntegerProperty;
    KVL_EDITOR_NAME(TkvlFontCharsetProperty)
    TkvlPropertyAttributes GetAttributes() override;
    QString GetValue() override;
    void GetValues() override;
    void SetValue(const QString &Value) override;
};

class TkvlModalResultProperty : public TkvlIntegerProperty {
public:
    using TkvlIntegerProperty::TkvlIntegerProperty;
    KVL_EDITOR_NAME(TkvlModalResultProperty)
    TkvlPropertyAttributes GetAttributes() override;
    QString GetValue() override;
    void GetValues() override;
    void SetValue(const QString &Value) override;
};

class TkvlShortCutProperty : public TkvlPropertyEditor {
public:
    using TkvlPropertyEditor::TkvlPropertyEditor;
    KVL_EDITOR_NAME(TkvlShortCutProperty)
    TkvlPropertyAttributes GetAttributes() override;
    QString GetValue() override;
    void GetValues() override;
    void SetValue(const QString &Value) override;
};

class TkvlCursorProperty : public TkvlIntegerProperty {
public:
    using TkvlIntegerProperty::TkvlIntegerProperty;
    KVL_EDITOR_NAME(TkvlCursorProperty)
    TkvlPropertyAttributes GetAttributes() override;
    QString GetValue() override;
    void GetValues() override;
    void SetValue(const QString &Value) override;
};

class TkvlDateTimeProperty : public TkvlPropertyEditor {
public:
    using TkvlPropertyEditor::TkvlPropertyEditor;
    KVL_EDITOR_NAME(TkvlDateTimeProperty)
    TkvlPropertyAttributes GetAttributes() override;
    QString GetValue() override;
    void SetValue(const QString &Value) override;
};

class TkvlDateProperty : public TkvlPropertyEditor {
public:
    using TkvlPropertyEditor::TkvlPropertyEditor;
    KVL_EDITOR_NAME(TkvlDateProperty)
    TkvlPropertyAttributes GetAttributes() override;
    QString GetValue() override;
    void SetValue(const QString &Value) override;
};

class TkvlTimeProperty : public TkvlPropertyEditor {
public:
    using TkvlPropertyEditor::TkvlPropertyEditor;
    KVL_EDITOR_NAME(TkvlTimeProperty)
    TkvlPropertyAttributes GetAttributes() override;
    QString GetValue() override;
    void SetValue(const QString &Value) override;
};

// The text the shortcut editor shows for no shortcut.
QString kvlNoShortCutText();
// The modal-result names, 0 to 14.
const QStringList &kvlModalResultNames();
