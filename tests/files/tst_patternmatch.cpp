#include "files/PatternMatch.h"
#include "util/RuntimeError.h"

#include <QElapsedTimer>
#include <QTest>

using namespace folvane;

class TestPatternMatch : public QObject {
    Q_OBJECT
private slots:
    void elements_data();
    void elements();
    void lists_data();
    void lists();
    void splitListIsUsedAsGiven();
    void invalidElementsThrow_data();
    void invalidElementsThrow();
    void invalidElementOnlyWhenReached();
    void wildcardKeepsCase();
    void starsDoNotBlowUp();
};

void TestPatternMatch::elements_data() {
    QTest::addColumn<QString>("element");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("match");
    auto row = [](const char* tag, const char16_t* element, const char16_t* name, bool match) {
        QTest::newRow(tag) << QString::fromUtf16(element) << QString::fromUtf16(name) << match;
    };
    row("? one char", u"a?c", u"abc", true);
    row("? not none", u"a?c", u"ac", false);
    row("? not two", u"a?c", u"abbc", false);
    row("* none", u"a*c", u"ac", true);
    row("* run", u"a*c", u"abbbc", true);
    row("* alone, empty name", u"*", u"", true);
    row("* backtracks", u"*ab", u"aab", true);
    row("whole name only", u"a", u"ab", false);
    row("# digit", u"file#.htm", u"file7.htm", true);
    row("# not letter", u"file#.htm", u"filex.htm", false);
    row("# ASCII digits only", u"#", u"\u0663", false);
    row("list in", u"[abc]x", u"bx", true);
    row("list out", u"[abc]x", u"dx", false);
    row("range in", u"[a-c]", u"b", true);
    row("range out", u"[a-c]", u"d", false);
    row("range by code", u"[0-9]", u"5", true);
    row("negated out", u"[!abc]x", u"dx", true);
    row("negated in", u"[!abc]x", u"ax", false);
    row("negated range", u"[!a-c]", u"b", false);
    row("brackets take one char", u"[ab]", u"ab", false);
    row("star literal in brackets", u"[*?#[]", u"*", true);
    row("? literal in brackets", u"[*?#[]", u"?", true);
    row("# literal in brackets", u"[*?#[]", u"#", true);
    row("[ literal in brackets", u"[*?#[]", u"[", true);
    row("brackets wildcards not wild", u"[*?#[]", u"a", false);
    row("leading - literal", u"[-a]", u"-", true);
    row("trailing - literal", u"[a-]", u"-", true);
    row("trailing - is no range", u"[a-]", u"b", false);
    row("! later is literal", u"[a!]", u"!", true);
    row("] outside literal", u"a]", u"a]", true);
    row("case: upper element", u"*.HTM", u"index.htm", true);
    row("case: upper name", u"*.htm", u"INDEX.HTM", true);
    row("case: ranges lowered", u"[A-C]x", u"bX", true);
    row("case: non-ASCII", u"\u00C4*", u"\u00E4rger.htm", true);
    row("pic??? three", u"pic???.jpg", u"pic001.jpg", true);
    row("pic??? two", u"pic???.jpg", u"pic01.jpg", false);
    row("*.* dotted bare name", u"*.*", u"readme.", true);
    row("*. dotted bare name", u"*.", u"readme.", true);
    row("*. extension", u"*.", u"a.htm", false);
    row("widened *jpg*", u"*jpg*", u"notes.jpg.bak", true);
    row("widened *jpg* front", u"*jpg*", u"jpglist.txt", true);
    row(".jpg whole name", u".jpg", u"a.jpg", false);
    row("indent is part of line", u"*.jpg", u"  photo.jpg", true);
    row("indent must match", u"photo.jpg", u"  photo.jpg", false);
}

void TestPatternMatch::elements() {
    QFETCH(QString, element);
    QFETCH(QString, name);
    QFETCH(bool, match);
    QCOMPARE(MatchesPattern(name, element), match);
}

void TestPatternMatch::lists_data() {
    QTest::addColumn<QString>("patterns");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("match");
    QTest::newRow("second element") << QStringLiteral("*.htm;*.jpg") << QStringLiteral("a.jpg") << true;
    QTest::newRow("no element") << QStringLiteral("*.htm;*.jpg") << QStringLiteral("a.gif") << false;
    QTest::newRow("empty elements skipped") << QStringLiteral(";;*.gif;") << QStringLiteral("a.gif") << true;
    QTest::newRow("empty list") << QString() << QString() << false;
    QTest::newRow("only separators") << QStringLiteral(";;") << QStringLiteral("a") << false;
    QTest::newRow("not trimmed") << QStringLiteral("*.htm; *.jpg") << QStringLiteral("a.jpg") << false;
    QTest::newRow("leading space kept") << QStringLiteral("*.htm; *.jpg") << QStringLiteral(" a.jpg") << true;
}

void TestPatternMatch::lists() {
    QFETCH(QString, patterns);
    QFETCH(QString, name);
    QFETCH(bool, match);
    QCOMPARE(MatchesPattern(name, patterns), match);
}

void TestPatternMatch::splitListIsUsedAsGiven() {
    // Already split: a ";" inside an element is an ordinary character.
    QVERIFY(MatchesPattern(QStringLiteral("a;b"), QStringList{QStringLiteral("A;B")}));
    QVERIFY(!MatchesPattern(QStringLiteral("a"), QStringList{QStringLiteral("a;b")}));
    QVERIFY(MatchesPattern(QStringLiteral("x.GIF"), QStringList{QString(), QStringLiteral("*.gif")}));
}

void TestPatternMatch::invalidElementsThrow_data() {
    QTest::addColumn<QString>("element");
    QTest::newRow("unclosed") << QStringLiteral("a[bc");
    QTest::newRow("unclosed negated") << QStringLiteral("[!");
    QTest::newRow("lone [") << QStringLiteral("[");
    QTest::newRow("reversed range") << QStringLiteral("[z-a]");
}

void TestPatternMatch::invalidElementsThrow() {
    QFETCH(QString, element);
    try {
        MatchesPattern(QStringLiteral("zzz"), element);
        QFAIL("no error");
    } catch (const RuntimeError& e) {
        QCOMPARE(e.number(), int(RuntimeError::PatternInvalid));
    }
    QVERIFY_THROWS_EXCEPTION(RuntimeError, matchesWildcard(QStringLiteral("a"), element));
}

void TestPatternMatch::invalidElementOnlyWhenReached() {
    // The first match decides; a bad element after it is never tried.
    QVERIFY(MatchesPattern(QStringLiteral("a.htm"), QStringLiteral("*.htm;[")));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, MatchesPattern(QStringLiteral("a.jpg"), QStringLiteral("*.htm;[")));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, MatchesPattern(QStringLiteral("a.htm"), QStringLiteral("[;*.htm")));
}

void TestPatternMatch::wildcardKeepsCase() {
    QVERIFY(matchesWildcard(QStringLiteral("page.htm"), QStringLiteral("*.htm")));
    QVERIFY(!matchesWildcard(QStringLiteral("page.htm"), QStringLiteral("*.HTM")));
    QVERIFY(!matchesWildcard(QStringLiteral("B"), QStringLiteral("[a-c]")));
    QVERIFY(matchesWildcard(QStringLiteral("B"), QStringLiteral("[A-C]")));
    // Lower-casing "[Z-a]" reverses its range; with case counting it stays valid.
    QVERIFY(matchesWildcard(QStringLiteral("_"), QStringLiteral("[Z-a]")));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, MatchesPattern(QStringLiteral("_"), QStringLiteral("[Z-a]")));
    // No list splitting here.
    QVERIFY(matchesWildcard(QStringLiteral("a;b"), QStringLiteral("a;b")));
}

void TestPatternMatch::starsDoNotBlowUp() {
    const QString name(20000, u'a');
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!MatchesPattern(name, QStringLiteral("*a*a*a*a*a*a*a*a*a*a*b")));
    QVERIFY(MatchesPattern(name + u'b', QStringLiteral("*a*a*a*a*a*a*a*a*a*a*b")));
    QVERIFY(timer.elapsed() < 2000);
}

QTEST_APPLESS_MAIN(TestPatternMatch)
#include "tst_patternmatch.moc"
