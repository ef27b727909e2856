#include "tools/SchoolGenerator.h"

#include "data/Marks.h"
#include "data/ScratchConnection.h"
#include "data/SqlText.h"
#include "data/uDM.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>
#include <vector>

namespace schoolgen {

namespace {

// A small deterministic generator (splitmix64): the same seed gives the same
// school on every platform, which the standard distributions do not promise.
class Random {
public:
    explicit Random(quint64 seed) : m_state(seed) {}

    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    double uniform() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    int below(int n) { return n <= 0 ? 0 : int(uniform() * n); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool chance(double p) { return uniform() < p; }
    double normal(double mean, double sd)
    {
        // Box-Muller; one value per call keeps the sequence simple.
        const double u = std::max(uniform(), 1e-12);
        const double v = uniform();
        return mean + sd * std::sqrt(-2.0 * std::log(u)) * std::cos(6.283185307179586 * v);
    }
    template <class T, size_t N> const T& pick(const T (&items)[N]) { return items[below(int(N))]; }

private:
    quint64 m_state;
};

quint64 mix(quint64 seed, quint64 salt)
{
    Random r(seed ^ (salt * 0xD1B54A32D192ED03ULL));
    return r.next();
}

struct SubjectInfo {
    const char* code;
    const char* name;
    double offset; // how much easier than the average subject
    double spread; // how strongly the student's ability shows
};

// Numbered in the order a school lists them, which is the order of the
// statistics columns (the plan is read in code order).
const SubjectInfo kSubjects[] = {
    {"01", "语文", 0, 1.0},  {"02", "数学", -3, 1.4},    {"03", "英语", -1, 1.2}, {"04", "物理", -4, 1.3},
    {"05", "化学", -2, 1.2}, {"06", "生物", 0, 1.0},     {"07", "政治", 2, 0.8},  {"08", "历史", 1, 0.9},
    {"09", "地理", 0, 0.9},  {"10", "信息技术", 5, 0.7}, {"11", "体育", 7, 0.6},  {"12", "艺术", 8, 0.5},
};

const char* const kLevels[] = {"初一", "初二", "初三", "高一", "高二", "高三"};
const char* const kTermHalves[] = {"第一学期", "第二学期"};

// The common surnames, most frequent first; earlier ones are drawn more often.
const char* const kSurnames[] = {
    "王", "李", "张", "刘", "陈", "杨", "黄", "赵", "吴", "周", "徐", "孙", "马", "朱", "胡", "郭",
    "何", "高", "林", "罗", "郑", "梁", "谢", "宋", "唐", "许", "韩", "冯", "邓", "曹", "彭", "曾",
    "肖", "田", "董", "袁", "潘", "于", "蒋", "蔡", "余", "杜", "叶", "程", "苏", "魏", "吕", "丁",
    "任", "沈", "姚", "卢", "姜", "崔", "钟", "谭", "陆", "汪", "范", "金", "石", "廖", "贾", "夏",
    "韦", "方", "白", "邹", "孟", "熊", "秦", "邱", "江", "尹", "薛", "段", "雷", "侯", "龙", "史",
    "陶", "黎", "贺", "顾", "毛", "郝", "龚", "邵", "万", "钱", "严", "武", "戴", "莫", "孔", "汤"};
const char* const kBoyChars[] = {"浩", "宇", "轩", "然", "子", "博", "文", "杰", "俊", "豪", "明", "辰", "泽",
                                 "睿", "航", "鹏", "晨", "阳", "旭", "磊", "鑫", "凯", "伟", "强", "涛", "斌",
                                 "超", "毅", "志", "诚", "嘉", "一", "天", "远", "立", "新", "家", "瑞", "翔",
                                 "宏", "健", "昊", "峰", "楠", "铭", "奕", "骏", "哲", "恒", "晟"};
const char* const kGirlChars[] = {
    "欣", "怡", "梓", "萱", "雨", "婷", "佳", "琪", "诗", "雅", "静", "慧", "颖", "悦", "彤", "涵", "晴",
    "妍", "思", "可", "馨", "语", "若", "梦", "琳", "洁", "丽", "娜", "芳", "月", "雪", "晓", "清", "玉",
    "蕾", "薇", "瑶", "璐", "倩", "茜", "婉", "霏", "嘉", "心", "艺", "宁", "桐", "然", "希", "菲"};
const char* const kParentGiven[] = {"建国", "国强", "志刚", "建华", "卫东", "德明", "海涛", "永强", "立新",
                                    "红军", "文革", "俊峰", "秀英", "丽华", "红梅", "海燕", "淑珍", "玉兰",
                                    "桂芳", "美玲", "晓红", "春梅", "雪梅", "慧敏", "建平", "国华", "振宇"};
const char* const kDistricts[] = {"西湖区", "上城区", "拱墅区", "滨江区",
                                  "余杭区", "萧山区", "临平区", "钱塘区"};
const char* const kRoads[] = {"文三路",   "天目山路", "延安路",   "解放路", "凤起路", "庆春路",
                              "建国北路", "中山北路", "江南大道", "学院路", "文一路", "莫干山路",
                              "古墩路",   "西溪路",   "东新路",   "秋涛路", "教工路", "湖墅南路"};
const char* const kEstates[] = {"和睦新村", "翠苑一区", "大关小区",   "朝晖五区", "耀江文鼎苑", "金色家园",
                                "景芳三区", "采荷新村", "闸弄口新村", "濮家新村", "蓝色钱江",   "阳光郡"};
const int kMobilePrefixes[] = {3, 5, 8};
const char* const kIncidents[] = {
    "上课使用手机，已没收并通知家长。",       "本学期迟到早退多次，班主任已谈话。",
    "与同学发生争执并动手，已批评教育。",     "期中考试夹带纸条，给予警告处分。",
    "晚自习擅自离校，年级通报批评。",         "损坏教室公物，已照价赔偿并写检讨。",
    "连续三次未交作业，\n已与家长电话沟通。", "在宿舍违规使用电器，宿管已登记。"};

constexpr int kBaseScore = 76;
// What the generator aims at when it has to make a strong improvement:
// clearly above the mark even after the one-decimal rounding of totals.
constexpr double kProgressAim = 1.16;

double halfSteps(double x)
{
    return std::round(x * 2.0) / 2.0;
}

// Mostly whole marks, now and then a half.
double markOf(double raw, Random& rng)
{
    const double clamped = std::clamp(raw, 0.0, 100.0);
    return rng.chance(0.8) ? std::round(clamped) : halfSteps(clamped);
}

QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

int classesPerLevel(const SchoolShape& shape)
{
    const int levels = std::max(1, shape.levels);
    return (shape.classes + levels - 1) / levels;
}

int firstYear(const SchoolShape& shape)
{
    return shape.lastYear - (shape.terms - 1) / 2;
}

QString termName(const SchoolShape& shape, int index)
{
    const int year = firstYear(shape) + index / 2;
    return QStringLiteral("%1-%2学年").arg(year).arg(year + 1) + QString::fromUtf8(kTermHalves[index % 2]);
}

QString className(const SchoolShape& shape, int index)
{
    const int perLevel = classesPerLevel(shape);
    const int level = std::clamp(shape.firstLevel + index / perLevel, 0, 5);
    return QString::fromUtf8(kLevels[level]) + QStringLiteral("(%1)班").arg(index % perLevel + 1);
}

// Chinese given names: one or two characters, boys' and girls' pools.
QString personName(Random& rng, const QString& surname, bool girl)
{
    QString name = surname;
    const int chars = rng.chance(0.75) ? 2 : 1;
    for (int i = 0; i < chars; ++i)
        name += QString::fromUtf8(girl ? rng.pick(kGirlChars) : rng.pick(kBoyChars));
    return name;
}

QString surname(Random& rng)
{
    // Zipf-like: the frequent surnames come up far more often.
    const int n = int(std::size(kSurnames));
    const int index = std::min(n - 1, int(std::pow(rng.uniform(), 2.2) * n));
    return QString::fromUtf8(kSurnames[index]);
}

struct Student {
    QString name;
    QString number;
    QString room;
    QString address;
    QString postCode;
    QString parent;
    QString phone;
    QString incident;
    int isTY = 0;
    int hasWJ = 0;
    int isActive = 1;
    double ability = 0;           // in standard deviations
    std::vector<double> aptitude; // per subject
};

Student makeStudent(Random& rng, int seat, int level, const std::set<QString>& taken)
{
    Student s;
    const QString family = surname(rng);
    const bool girl = rng.chance(0.5);
    do {
        s.name = personName(rng, family, girl);
    } while (taken.count(s.name) && rng.chance(0.9)); // the odd namesake stays, as in real classes
    s.number = twoDigits(seat); // the seat number within the class, as most schools number them
    const bool boarder = level >= 3 || rng.chance(0.4);
    if (boarder)
        s.room = QStringLiteral("%1-%2%3")
                     .arg(rng.between(1, 6))
                     .arg(rng.between(1, 5))
                     .arg(twoDigits(rng.between(1, 20)));
    s.address = QStringLiteral("杭州市") + QString::fromUtf8(rng.pick(kDistricts));
    if (rng.chance(0.5))
        s.address += QString::fromUtf8(rng.pick(kEstates)) + QStringLiteral("%1幢%2单元%3%4室")
                                                                 .arg(rng.between(1, 40))
                                                                 .arg(rng.between(1, 4))
                                                                 .arg(rng.between(1, 18))
                                                                 .arg(twoDigits(rng.between(1, 4)));
    else
        s.address += QString::fromUtf8(rng.pick(kRoads)) + QStringLiteral("%1号").arg(rng.between(1, 380));
    s.postCode = QStringLiteral("3100") + twoDigits(rng.between(1, 99));
    s.parent = (rng.chance(0.6) ? family : surname(rng)) + QString::fromUtf8(rng.pick(kParentGiven));
    if (rng.chance(0.7))
        s.phone = QStringLiteral("1%1%2")
                      .arg(rng.pick(kMobilePrefixes))
                      .arg(qulonglong(rng.next() % 1000000000ULL), 9, 10, QLatin1Char('0'));
    else
        s.phone = QStringLiteral("0571-8%1").arg(rng.between(0, 9999999), 7, 10, QLatin1Char('0'));
    const double league[] = {0.05, 0.15, 0.35, 0.55, 0.7, 0.8};
    s.isTY = rng.chance(league[level]) ? 1 : 0;
    if (rng.chance(0.04)) {
        s.hasWJ = 1;
        s.incident = QString::fromUtf8(rng.pick(kIncidents));
    }
    s.isActive = rng.chance(0.02) ? 0 : 1;
    // A few strong students in every class, the rest around the middle.
    s.ability = rng.chance(0.06) ? 1.8 + rng.uniform() * 0.7 : rng.normal(0, 1);
    for (int j = 0; j < SubjectCount(); ++j)
        s.aptitude.push_back(rng.normal(0, 4));
    return s;
}

// One class's scores over all terms, and the marks the statistics window
// would give them.
class ClassMarks {
public:
    ClassMarks(int terms, int students, int subjects)
        : m_terms(terms), m_students(students), m_subjects(subjects),
          m_scores(size_t(terms) * students * subjects, 0.0), m_standards(size_t(terms) * subjects, 85.0)
    {
    }

    double& score(int t, int s, int j) { return m_scores[(size_t(t) * m_students + s) * m_subjects + j]; }
    double score(int t, int s, int j) const
    {
        return m_scores[(size_t(t) * m_students + s) * m_subjects + j];
    }
    double& standard(int t, int j) { return m_standards[size_t(t) * m_subjects + j]; }
    double standard(int t, int j) const { return m_standards[size_t(t) * m_subjects + j]; }
    int students() const { return m_students; }
    int subjects() const { return m_subjects; }

    // The marks as the statistics window gives them, on the scores as it shows them.
    std::vector<double> shown(int t, int s) const
    {
        std::vector<double> scores(m_subjects);
        for (int j = 0; j < m_subjects; ++j)
            scores[j] = Marks::OneDecimal(score(t, s, j));
        return scores;
    }
    double total(int t, int s) const { return Marks::Total(shown(t, s)); }
    bool failing(int t, int s) const { return Marks::HasFailingScore(shown(t, s)); }
    bool honours(int t, int s) const
    {
        std::vector<double> thresholds(m_subjects);
        for (int j = 0; j < m_subjects; ++j)
            thresholds[j] = standard(t, j);
        return Marks::ReachesEveryStandard(shown(t, s), thresholds);
    }
    bool progress(int t, int s) const
    {
        // The first term has no previous term to improve on.
        return t > 0 && Marks::ImprovedMuch(total(t, s), total(t - 1, s));
    }

    // Adjusts the fewest students so that term t shows every mark.
    void ensureEveryMark(int t, Random& rng)
    {
        std::set<int> forced;
        for (int pass = 0; pass < 4; ++pass) {
            bool changed = false;
            if (!any(t, &ClassMarks::honours)) {
                const int s = pickBy(forced, [&](int a, int b) { return total(t, a) > total(t, b); });
                if (s >= 0) {
                    for (int j = 0; j < m_subjects; ++j)
                        score(t, s, j) =
                            std::min(100.0, std::max(score(t, s, j), standard(t, j) + rng.between(0, 6)));
                    forced.insert(s);
                    changed = true;
                }
            }
            if (!any(t, &ClassMarks::failing)) {
                const int s = pickBy(forced, [&](int a, int b) { return total(t, a) < total(t, b); });
                if (s >= 0) {
                    int weakest = 0;
                    for (int j = 1; j < m_subjects; ++j)
                        if (score(t, s, j) < score(t, s, weakest))
                            weakest = j;
                    score(t, s, weakest) = rng.between(38, 58);
                    forced.insert(s);
                    changed = true;
                }
            }
            if (t > 0 && !any(t, &ClassMarks::progress)) {
                // The one who had the weakest previous term has the most room.
                const int s = pickBy(forced, [&](int a, int b) { return total(t - 1, a) < total(t - 1, b); });
                if (s >= 0 && total(t - 1, s) > 0) {
                    raiseTo(t, s, total(t - 1, s) * kProgressAim);
                    forced.insert(s);
                    changed = true;
                }
            }
            if (!changed)
                return;
        }
    }

private:
    bool any(int t, bool (ClassMarks::*mark)(int, int) const) const
    {
        for (int s = 0; s < m_students; ++s)
            if ((this->*mark)(t, s))
                return true;
        return false;
    }

    template <class Better> int pickBy(const std::set<int>& exclude, Better better) const
    {
        int best = -1;
        for (int s = 0; s < m_students; ++s)
            if (!exclude.count(s) && (best < 0 || better(s, best)))
                best = s;
        return best;
    }

    void raiseTo(int t, int s, double aim)
    {
        for (int round = 0; round < 40 && total(t, s) < aim; ++round) {
            const double step = std::max(0.5, halfSteps((aim - total(t, s)) / m_subjects + 0.5));
            for (int j = 0; j < m_subjects; ++j)
                score(t, s, j) = std::min(100.0, score(t, s, j) + step);
        }
    }

    int m_terms;
    int m_students;
    int m_subjects;
    std::vector<double> m_scores;
    std::vector<double> m_standards;
};

struct SchoolClass {
    QString code;
    QString name;
    std::vector<Student> students;
    std::vector<int> ids; // TStudent.ID, in the order of students
    ClassMarks marks;
};

SchoolClass makeClass(const SchoolShape& shape, int c)
{
    Random rng(mix(shape.seed, quint64(c) + 1));
    const int level = std::clamp(shape.firstLevel + c / classesPerLevel(shape), 0, 5);
    const int size =
        rng.between(std::max(1, shape.minStudents), std::max(shape.minStudents, shape.maxStudents));
    const int subjects = std::clamp(shape.subjects, 0, SubjectCount());
    SchoolClass k{ClassCode(shape, c), className(shape, c), {}, {}, ClassMarks(shape.terms, size, subjects)};
    std::set<QString> names;
    for (int s = 0; s < size; ++s) {
        k.students.push_back(makeStudent(rng, s + 1, level, names));
        names.insert(k.students.back().name);
    }

    // The class's honours standards: 85 as initialised, a few set higher or
    // lower by the class teacher, and now and then changed for one term.
    std::vector<double> usual(subjects, 85.0);
    for (double& standard : usual)
        if (rng.chance(0.15))
            standard = rng.chance(0.5) ? 80.0 : 90.0;
    for (int t = 0; t < shape.terms; ++t)
        for (int j = 0; j < subjects; ++j)
            k.marks.standard(t, j) = rng.chance(0.05) ? usual[j] + (rng.chance(0.5) ? 5 : -5) : usual[j];

    // A score is the student's ability in the subject, the form of the term
    // (which drifts, with the odd breakthrough or slump) and the day's luck.
    for (int s = 0; s < size; ++s) {
        const Student& student = k.students[s];
        double form = rng.normal(0, 3);
        for (int t = 0; t < shape.terms; ++t) {
            if (t > 0) {
                form = 0.5 * form + rng.normal(0, 3);
                if (rng.chance(0.03))
                    form += 10 + rng.uniform() * 6;
                else if (rng.chance(0.03))
                    form -= 8 + rng.uniform() * 6;
            }
            for (int j = 0; j < subjects; ++j) {
                const SubjectInfo& info = kSubjects[j];
                const double raw = kBaseScore + info.offset +
                                   info.spread * (9.0 * student.ability + student.aptitude[j]) + form +
                                   rng.normal(0, 5);
                k.marks.score(t, s, j) = markOf(raw, rng);
            }
        }
    }
    for (int t = 0; t < shape.terms; ++t)
        k.marks.ensureEveryMark(t, rng);
    return k;
}

// Collects value tuples and inserts them many rows to a statement, which
// keeps a school of millions of rows to seconds.
class BulkInsert {
public:
    BulkInsert(const QSqlDatabase& db, const QString& head) : m_db(db), m_head(head) {}

    bool add(const QString& tuple)
    {
        if (m_count)
            m_values += QLatin1Char(',');
        m_values += tuple;
        return ++m_count < kRowsPerStatement || flush();
    }

    bool flush()
    {
        if (!m_count)
            return true;
        QSqlQuery q(m_db);
        const bool ok = q.exec(m_head + m_values);
        if (!ok)
            m_error = q.lastError().text();
        m_values.clear();
        m_count = 0;
        return ok;
    }
    // Why the last statement was refused.
    DbResult failure() const { return DbResult::failed(m_error); }

private:
    static constexpr int kRowsPerStatement = 400;
    QSqlDatabase m_db;
    QString m_head;
    QString m_values;
    int m_count = 0;
    QString m_error;
};

QString tuple(std::initializer_list<QString> values)
{
    QString text = QStringLiteral("(");
    bool first = true;
    for (const QString& v : values) {
        if (!first)
            text += QLatin1Char(',');
        text += v;
        first = false;
    }
    return text + QLatin1Char(')');
}

QString number(double score)
{
    return QString::number(score, 'f', 1);
}

DbResult exec(QSqlDatabase& db, const QString& sql)
{
    QSqlQuery q(db);
    if (q.exec(sql))
        return {};
    return DbResult::failed(q.lastError().text() + QStringLiteral(": ") + sql);
}

DbResult fill(QSqlDatabase& db, const SchoolShape& shape, std::vector<SchoolClass>& classes,
              SchoolSummary& summary)
{
    const int subjects = std::clamp(shape.subjects, 0, SubjectCount());
    {
        BulkInsert terms(db, QStringLiteral("Insert into TTerm (TermCode,TermName) Values"));
        for (int t = 0; t < shape.terms; ++t)
            if (!terms.add(tuple({SqlInt(TermCode(shape, t)), QuotedStr(termName(shape, t))})))
                return terms.failure();
        BulkInsert subjectRows(db, QStringLiteral("Insert into TSubject (SubjCode,SubjName) Values"));
        for (int j = 0; j < subjects; ++j)
            if (!subjectRows.add(tuple({QuotedStr(QString::fromUtf8(kSubjects[j].code)),
                                        QuotedStr(QString::fromUtf8(kSubjects[j].name))})))
                return subjectRows.failure();
        BulkInsert classRows(db, QStringLiteral("Insert into TClass (ClassCode,ClassName) Values"));
        for (const SchoolClass& k : classes)
            if (!classRows.add(tuple({QuotedStr(k.code), QuotedStr(k.name)})))
                return classRows.failure();
        for (BulkInsert* rows : {&terms, &subjectRows, &classRows})
            if (!rows->flush())
                return rows->failure();
    }
    {
        BulkInsert active(db, QStringLiteral("Insert into TTermToClass (TermCode,ClassCode) Values"));
        BulkInsert plan(db,
                        QStringLiteral("Insert into TClassToSubject (TermCode,ClassCode,SubjCode) Values"));
        for (int t = 0; t < shape.terms; ++t) {
            for (const SchoolClass& k : classes) {
                if (!active.add(tuple({SqlInt(TermCode(shape, t)), QuotedStr(k.code)})))
                    return active.failure();
                for (int j = 0; j < subjects; ++j) {
                    if (!plan.add(tuple({SqlInt(TermCode(shape, t)), QuotedStr(k.code),
                                         QuotedStr(QString::fromUtf8(kSubjects[j].code))})))
                        return plan.failure();
                    ++summary.plans;
                }
            }
        }
        for (BulkInsert* rows : {&active, &plan})
            if (!rows->flush())
                return rows->failure();
    }
    {
        BulkInsert students(
            db, QStringLiteral("Insert into TStudent (ClassCode,SName,SNumber,Room,Address,PostCode,"
                               "Patriarchy,HomeTel,WJContent,IsTY,HasWJ,IsActive) Values"));
        for (const SchoolClass& k : classes) {
            for (const Student& s : k.students) {
                if (!students.add(tuple({QuotedStr(k.code), QuotedStr(s.name), QuotedStr(s.number),
                                         QuotedStr(s.room), QuotedStr(s.address), QuotedStr(s.postCode),
                                         QuotedStr(s.parent), QuotedStr(s.phone), QuotedStr(s.incident),
                                         SqlInt(s.isTY), SqlInt(s.hasWJ), SqlInt(s.isActive)})))
                    return students.failure();
                ++summary.students;
            }
        }
        if (!students.flush())
            return students.failure();
        // The database numbers the students; the scores need those numbers.
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("select ID, ClassCode from TStudent order by ID")))
            return DbResult::failed(q.lastError().text());
        std::map<QString, SchoolClass*> byCode;
        for (SchoolClass& k : classes)
            byCode[k.code] = &k;
        while (q.next())
            byCode[q.value(1).toString()]->ids.push_back(q.value(0).toInt());
        for (const SchoolClass& k : classes) {
            if (k.ids.size() != k.students.size())
                return DbResult::failed(
                    QStringLiteral("the students of class %1 were not all stored").arg(k.code));
        }
    }
    // Scores term by term, as a school enters them.
    BulkInsert standards(
        db, QStringLiteral("Insert into THonoursStd (TermCode,ClassCode,SubjectCode,Score) Values"));
    BulkInsert grades(
        db, QStringLiteral("Insert into TGrade (TermCode,ClassCode,StudentID,SubjectCode,Score) Values"));
    for (int t = 0; t < shape.terms; ++t) {
        const QString term = SqlInt(TermCode(shape, t));
        for (const SchoolClass& k : classes) {
            const QString klass = QuotedStr(k.code);
            for (int j = 0; j < subjects; ++j) {
                if (!standards.add(tuple({term, klass, QuotedStr(QString::fromUtf8(kSubjects[j].code)),
                                          number(k.marks.standard(t, j))})))
                    return standards.failure();
                ++summary.standards;
            }
            for (int s = 0; s < k.marks.students(); ++s) {
                const QString id = SqlInt(k.ids[s]);
                for (int j = 0; j < subjects; ++j) {
                    if (!grades.add(tuple({term, klass, id, QuotedStr(QString::fromUtf8(kSubjects[j].code)),
                                           number(k.marks.score(t, s, j))})))
                        return grades.failure();
                    ++summary.grades;
                }
            }
        }
    }
    for (BulkInsert* rows : {&standards, &grades})
        if (!rows->flush())
            return rows->failure();
    summary.terms = shape.terms;
    summary.subjects = subjects;
    summary.classes = int(classes.size());
    return {};
}

DbResult build(const QString& file, const SchoolShape& shape, SchoolSummary& summary)
{
    std::vector<SchoolClass> classes;
    classes.reserve(size_t(std::max(0, shape.classes)));
    for (int c = 0; c < shape.classes; ++c)
        classes.push_back(makeClass(shape, c));

    ScratchConnection connection(file);
    QSqlDatabase db = connection.db();
    if (!db.open())
        return DbResult::failed(db.lastError().text());
    // Nothing to protect until the file is complete; it is thrown away on failure.
    for (const char* pragma :
         {"PRAGMA journal_mode=OFF", "PRAGMA synchronous=OFF", "PRAGMA cache_size=-65536"})
        if (DbResult set = exec(db, QLatin1String(pragma)); !set)
            return set;
    if (!db.transaction())
        return DbResult::failed(db.lastError().text());
    if (DbResult filled = fill(db, shape, classes, summary); !filled) {
        db.rollback();
        return filled;
    }
    if (!db.commit())
        return DbResult::failed(db.lastError().text());
    return {};
}

} // namespace

int SubjectCount()
{
    return int(std::size(kSubjects));
}

SchoolShape BenchmarkShape(int termFactor)
{
    SchoolShape shape;
    shape.terms = 20 * std::max(1, termFactor);
    return shape;
}

SchoolShape DemoShape()
{
    SchoolShape shape;
    shape.terms = 3;
    shape.firstLevel = 3; // 高一, 高二
    shape.levels = 2;
    shape.classes = 4;
    shape.minStudents = 30;
    shape.maxStudents = 40;
    shape.seed = 20230901;
    return shape;
}

int TermCode(const SchoolShape& shape, int index)
{
    return (firstYear(shape) + index / 2) * 10 + index % 2 + 1;
}

QString ClassCode(const SchoolShape& shape, int index)
{
    const int perLevel = classesPerLevel(shape);
    return twoDigits(shape.firstLevel + index / perLevel + 1) + twoDigits(index % perLevel + 1);
}

DbResult WriteSchool(const QString& path, const SchoolShape& shape, bool replace, SchoolSummary* summary)
{
    if (!replace && QFileInfo::exists(path))
        return DbResult::failed(QStringLiteral("%1 already exists").arg(path));
    // Terms are numbered by school year: codes must stay in the 32-bit range.
    if (shape.terms < 1 || shape.classes < 1 || shape.terms > 2000 || shape.lastYear > 200000000)
        return DbResult::failed(QStringLiteral("a school needs at least one term and one class"));
    const QString part = path + QStringLiteral(".part");
    QFile::remove(part); // left over from an interrupted run
    if (DbResult made = TDM::createDatabase(part); !made)
        return made;
    SchoolSummary counted;
    DbResult written = build(part, shape, counted);
    if (written && !replace && QFileInfo::exists(path))
        written = DbResult::failed(QStringLiteral("%1 appeared while the school was written").arg(path));
    if (written) {
        std::error_code error;
        // Replaces an existing file in one step: there is never no file, nor half a one.
        std::filesystem::rename(QFile::encodeName(part).toStdString(), QFile::encodeName(path).toStdString(),
                                error);
        if (error)
            written = DbResult::failed(QString::fromStdString(error.message()));
    }
    if (!written) {
        QFile::remove(part);
        return written;
    }
    if (summary)
        *summary = counted;
    return {};
}

} // namespace schoolgen
