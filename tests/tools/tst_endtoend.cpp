#include "base/CodePage.h"
#include "support/ChmReaders.h"
#include "tools/GeneratedSite.h"
#include "tools/MakeProcess.h"

#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace folvane;

namespace {

// A site of a few hundred pages in three levels of folders, with pictures and a style sheet
// in every folder, Chinese titles and one page without a title.
struct Site {
    QStringList pages;    // relative paths
    QStringList titles;   // what the contents must show for them
    QStringList excluded; // pictures and style sheets, relative
};

Site makeSite(const GeneratedSite& out) {
    Site site;
    auto addPage = [&](const QString& relative, const QString& title) {
        out.page(relative, title, "<p>" + title.toUtf8().repeated(20) + "</p>");
        site.pages.append(relative);
        site.titles.append(title);
    };
    auto addExtras = [&](const QString& folder) {
        const QString prefix = folder.isEmpty() ? QString() : folder + u'/';
        for (const QString& name :
             {QStringLiteral("pic.jpg"), QStringLiteral("logo.png"), QStringLiteral("style.css")}) {
            out.file(prefix + name, QByteArray(300, 'p'));
            site.excluded.append(prefix + name);
        }
    };
    addPage(QStringLiteral("index.htm"), QStringLiteral("帮助首页"));
    out.pageWithoutTitle(QStringLiteral("notitle.htm"));
    site.pages.append(QStringLiteral("notitle.htm"));
    site.titles.append(QStringLiteral("notitle.htm"));
    addExtras(QString());
    for (int s = 0; s < 6; ++s) {
        const QString section = QStringLiteral("s%1").arg(s);
        addExtras(section);
        for (int p = 0; p < 8; ++p)
            addPage(section + QStringLiteral("/p%1.htm").arg(p), QStringLiteral("第%1章 第%2页").arg(s).arg(p));
        for (int t = 0; t < 3; ++t) {
            const QString sub = section + QStringLiteral("/t%1").arg(t);
            addExtras(sub);
            for (int p = 0; p < 10; ++p)
                addPage(sub + QStringLiteral("/q%1.html").arg(p),
                        QStringLiteral("第%1章 第%2节 页面%3").arg(s).arg(t).arg(p));
            const QString deep = sub + QStringLiteral("/u");
            addExtras(deep);
            for (int p = 0; p < 6; ++p)
                addPage(deep + QStringLiteral("/r%1.htm").arg(p),
                        QStringLiteral("深层 %1-%2-%3 说明").arg(s).arg(t).arg(p));
        }
    }
    return site;
}

QStringList paramValues(const QString& contents, const QString& name) {
    static const QRegularExpression param(QStringLiteral("<param name=\"(\\w+)\" value=\"([^\"]*)\">"));
    QStringList values;
    for (const QRegularExpressionMatch& m : param.globalMatch(contents))
        if (m.captured(1) == name)
            values.append(m.captured(2));
    return values;
}

} // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void compiledFileHoldsTheWholeSite();
};

void TestEndToEnd::initTestCase() {
    if (!QFileInfo::exists(QStringLiteral(FOLVANE_BIN_DIR "/hhc")))
        QSKIP("No help compiler beside folvane-make.");
#ifndef FOLVANE_HAVE_CHMLIB
    QSKIP("chmlib is not installed (libchm-dev).");
#endif
}

void TestEndToEnd::compiledFileHoldsTheWholeSite() {
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const GeneratedSite out(tmp.path() + QStringLiteral("/网站"));
    const Site site = makeSite(out);
    QVERIFY(site.pages.size() > 300);

    const MakeProcess make =
        MakeProcess::run({out.root(), QStringLiteral("-t"), QStringLiteral("中文帮助"), QStringLiteral("--titles"),
                          QStringLiteral("between"), QStringLiteral("--home"), QStringLiteral("index.htm")});
    QVERIFY2(make.exitCode == 0, make.err.constData());
    const QString chm = out.path(QStringLiteral("中文帮助.chm"));
    QVERIFY(make.out.endsWith(QByteArray("compiled " + chm.toUtf8() + '\n')));
    QVERIFY(QFileInfo(chm).size() > 0);

#ifdef FOLVANE_HAVE_CHMLIB
    const auto files = test::readWithChmlib(chm);
    QVERIFY(files.has_value());
    QSet<QString> inside;
    for (const QByteArray& name : files->keys())
        inside.insert(QString::fromUtf8(name));

    // Every page the contents point to is in the compiled file; so is every excluded picture.
    QFile written(out.path(QStringLiteral("HH_KVEL.hhc")));
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QStringList locals = paramValues(QString::fromUtf8(written.readAll()), QStringLiteral("Local"));
    QCOMPARE(QSet<QString>(locals.cbegin(), locals.cend()), QSet<QString>(site.pages.cbegin(), site.pages.cend()));
    for (const QString& page : locals)
        QVERIFY2(inside.contains(u'/' + page), qPrintable(page));
    for (const QString& file : site.excluded) {
        QVERIFY2(inside.contains(u'/' + file), qPrintable(file));
        QVERIFY(!locals.contains(file));
    }

    // The contents file inside the compiled file, in the code page of its language, shows
    // every title, the page without one by its file name.
    const QByteArray stored = files->value("/HH_KVEL.hhc");
    const QString toc = QString::fromStdString(CodePage::toUtf8(stored.toStdString(), 936));
    QSet<QString> names;
    for (const QString& name : paramValues(toc, QStringLiteral("Name")))
        names.insert(name.trimmed());
    for (const QString& title : site.titles)
        QVERIFY2(names.contains(title), qPrintable(title));
#endif
}

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
