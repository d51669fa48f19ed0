#pragma once
#include "data/rowpager.h"
#include "ui/functionwindow.h"
#include "ui/grid.h"

class QPushButton;

namespace fm {

// A modal list of today's rows of one warehouse table, opened by "查询" in
// the groups of "原料管理".
class TodayList : public FunctionWindow {
    Q_OBJECT
public:
    TodayList(AppContext &ctx, QWidget *parent, const QString &title, const QList<GridColumn> &columns,
              const char *name);
    Grid *grid() const { return m_grid; }

protected:
    void showRows(RowQuery query);

private:
    Grid *m_grid;
    QPushButton *m_close;
};

// "入库查询": today's receipt lines.
class Trk_cx : public TodayList {
    Q_OBJECT
public:
    Trk_cx(AppContext &ctx, QWidget *parent);
    void activate() override;
};

// "出库查询": today's issue lines (material returns left out).
class Tck_cx : public TodayList {
    Q_OBJECT
public:
    Tck_cx(AppContext &ctx, QWidget *parent);
    void activate() override;
};

// "资金入帐查询": today's supplier fund lines.
class Tzj_cx : public TodayList {
    Q_OBJECT
public:
    Tzj_cx(AppContext &ctx, QWidget *parent);
    void activate() override;
};

} // namespace fm
