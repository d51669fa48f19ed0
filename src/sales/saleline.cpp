#include "sales/saleline.h"

#include "data/session.h"

namespace fm {

QString SaleLine::columns()
{
    return QStringLiteral("id, khdm, khmc, region, cpdm, cpmc, cpgg, rq_1, rq_2, zzhm, bz_1, bz_3, bszl, czydm, "
                          "zznum, zzjg, zzje, tlnum, kpjg, kpje, zcjg, zcje, cbjg, sjbs, recnum");
}

SaleLine SaleLine::read(const Row &r)
{
    SaleLine l;
    l.id = r.id();
    l.khdm = r.text(QStringLiteral("khdm"));
    l.khmc = r.text(QStringLiteral("khmc"));
    l.region = r.text(QStringLiteral("region"));
    l.cpdm = r.text(QStringLiteral("cpdm"));
    l.cpmc = r.text(QStringLiteral("cpmc"));
    l.cpgg = r.text(QStringLiteral("cpgg"));
    l.rq_1 = r.dateText(QStringLiteral("rq_1"));
    l.rq_2 = r.dateText(QStringLiteral("rq_2"));
    l.zzhm = r.text(QStringLiteral("zzhm"));
    l.bz_1 = r.text(QStringLiteral("bz_1"));
    l.bz_3 = r.text(QStringLiteral("bz_3"));
    l.bszl = r.text(QStringLiteral("bszl"));
    l.czydm = r.text(QStringLiteral("czydm"));
    l.zznum = r.number(QStringLiteral("zznum"));
    l.zzjg = r.number(QStringLiteral("zzjg"));
    l.zzje = r.number(QStringLiteral("zzje"));
    l.tlnum = r.number(QStringLiteral("tlnum"));
    l.kpjg = r.number(QStringLiteral("kpjg"));
    l.kpje = r.number(QStringLiteral("kpje"));
    l.zcjg = r.number(QStringLiteral("zcjg"));
    l.zcje = r.number(QStringLiteral("zcje"));
    l.cbjg = r.number(QStringLiteral("cbjg"));
    l.sjbs = r.number(QStringLiteral("sjbs"));
    l.recnum = int(r.integer(QStringLiteral("recnum")));
    return l;
}

qint64 writeSaleLine(Session &s, const SaleLine &l)
{
    return s.insert(QStringLiteral("sale1"), {{QStringLiteral("rq_1"), l.rq_1},
                                              {QStringLiteral("cpmc"), l.cpmc},
                                              {QStringLiteral("cpgg"), l.cpgg},
                                              {QStringLiteral("zcjg"), l.zcjg},
                                              {QStringLiteral("zznum"), l.zznum},
                                              {QStringLiteral("zzjg"), l.zzjg},
                                              {QStringLiteral("zzje"), l.zzje},
                                              {QStringLiteral("kpjg"), l.kpjg},
                                              {QStringLiteral("tlnum"), l.tlnum},
                                              {QStringLiteral("kpje"), l.kpje},
                                              {QStringLiteral("khmc"), l.khmc},
                                              {QStringLiteral("rq_2"), l.rq_2},
                                              {QStringLiteral("cpdm"), l.cpdm},
                                              {QStringLiteral("region"), l.region},
                                              {QStringLiteral("khdm"), l.khdm},
                                              {QStringLiteral("czydm"), l.czydm},
                                              {QStringLiteral("sjbs"), l.sjbs},
                                              {QStringLiteral("recnum"), l.recnum},
                                              {QStringLiteral("bz_1"), l.bz_1},
                                              {QStringLiteral("cbjg"), l.cbjg},
                                              {QStringLiteral("zzhm"), l.zzhm},
                                              {QStringLiteral("bz_3"), l.bz_3},
                                              {QStringLiteral("sjxl1"), 0.0},
                                              {QStringLiteral("sjxl2"), 0.0},
                                              {QStringLiteral("zcje"), l.zcje},
                                              {QStringLiteral("cbje"), 0.0},
                                              {QStringLiteral("hksl"), 0.0},
                                              {QStringLiteral("hkje"), 0.0},
                                              {QStringLiteral("ce"), 0.0},
                                              {QStringLiteral("bz_2"), QStringLiteral("0")},
                                              {QStringLiteral("fphm"), QString()},
                                              {QStringLiteral("bszl"), l.bszl}});
}

} // namespace fm
