#pragma once
#include "ui/functionwindow.h"

#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace fm {

// "原料增加": registers a raw material with its class flag and its 38
// nutrient values; a premix the mill sells can be taken from the product list.
class Tadd_yl : public FunctionWindow {
    Q_OBJECT
public:
    Tadd_yl(AppContext &ctx, QWidget *parent);
    void activate() override;

    QRadioButton *existingPremix() const { return m_existingPremix; }
    QRadioButton *newPremix() const { return m_newPremix; }
    QRadioButton *ordinary() const { return m_ordinary; }
    QLineEdit *code() const { return m_code; }
    QLineEdit *name() const { return m_name; }
    QComboBox *premixList() const { return m_premixes; }
    QLineEdit *flag() const { return m_flag; }
    QLabel *flagCaption() const { return m_flagCaption; }
    QCheckBox *bulk() const { return m_bulk; }
    QCheckBox *minor() const { return m_minor; }
    // The value input of factor s1 .. s38.
    QLineEdit *factor(int n) const { return m_factors[size_t(n - 1)]; }
    QPushButton *confirm() const { return m_confirm; }
    QPushButton *cancel() const { return m_cancel; }

private:
    enum class Kind { None, ExistingPremix, NewPremix, Ordinary };
    void startKind(Kind kind);
    void flagTicked(QCheckBox *box, bool on);
    void checkNameAndFlag();
    QWidget *nameStep() const;
    void store();
    void clearValues();
    void finishMaterial();

    Kind m_kind = Kind::None;
    QButtonGroup *m_kinds;
    QRadioButton *m_existingPremix;
    QRadioButton *m_newPremix;
    QRadioButton *m_ordinary;
    QLineEdit *m_code;
    QLineEdit *m_name;
    QComboBox *m_premixes;
    QLineEdit *m_flag;
    QLabel *m_flagCaption;
    QCheckBox *m_bulk;
    QCheckBox *m_minor;
    std::array<QLineEdit *, 38> m_factors{};
    QPushButton *m_confirm;
    QPushButton *m_cancel;
    QPushButton *m_close;
};

} // namespace fm
