#pragma once
#include "ui/functionwindow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <vector>

class QCheckBox;

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

    QComboBox *m_names = chooser("names", QString(), true);
    QLineEdit *m_dept = display("department");
    QLineEdit *m_code = display("operatorCode");
    std::vector<QCheckBox *> m_boxes;
    QPushButton *m_confirm = button(QStringLiteral("确认"), "confirm", [this] { confirm(); });
    qint64 m_loaded = 0;
    QString m_loadedName;
};

} // namespace fm
