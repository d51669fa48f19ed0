#pragma once
#include "ui/functionwindow.h"

#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace fm {

// "人员权限设置": one check box per rights position, written to the operator
// that was loaded, and to no other.
class RightsEditor : public FunctionWindow {
    Q_OBJECT
public:
    RightsEditor(AppContext &ctx, QWidget *parent);
    void activate() override;

    QComboBox *nameBox() const { return m_names; }
    QCheckBox *box(int position) const { return m_boxes.at(position - 1); }
    QPushButton *confirmButton() const { return m_confirm; }
    QLineEdit *codeField() const { return m_code; }
    // Loads the operator of the given name (as typed: the first in table order).
    void loadTyped();
    void confirm();
    void discard();

private:
    void load(qint64 id);
    void clearForm();

    QComboBox *m_names;
    QLineEdit *m_dept;
    QLineEdit *m_code;
    std::vector<QCheckBox *> m_boxes;
    QPushButton *m_confirm;
    qint64 m_loaded = 0;
    QString m_loadedName;
};

} // namespace fm
