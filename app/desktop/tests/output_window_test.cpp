// The output windows: lines, the line cap, clearing and the font steps.
#include "desktop/output_window.hpp"

#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

#include "desktop/output_text.hpp"

namespace zelo::desktop {

class OutputWindowTest : public QObject {
    Q_OBJECT

private slots:
    void SplitKeepsEveryEndedLineAndDropsTheUnendedRest() {
        const auto lines = SplitOutputText("A 10:00:00 one\r\n\nB two\ntail without end");
        QCOMPARE(lines.size(), std::size_t{3});
        QCOMPARE(lines[0], std::string("A 10:00:00 one"));
        QCOMPARE(lines[1], std::string());
        QCOMPARE(lines[2], std::string("B two"));
        QVERIFY(SplitOutputText("no line feed").empty());
    }

    void LineLongerThanThePendingBufferStillShows() {
        // A fixed 2048-byte buffer lost such a line, end and all.
        const std::string longLine(3000, 'x');
        const auto lines = SplitOutputText(longLine + "\nnext\n");
        QCOMPARE(lines.size(), std::size_t{2});
        QCOMPARE(lines[0].size(), kMaxOutputLineBytes);
        QCOMPARE(lines[1], std::string("next"));
    }

    void KeepsTheNewestLinesUpToTheCap() {
        COutputWindow window(QStringLiteral("Message Window"), nullptr);
        window.AppendText("\nfirst is empty\n");
        QCOMPARE(window.LineCount(), 2);
        QCOMPARE(window.Line(0), QString());
        std::string text;
        for (int i = 0; i < kMaxOutputLines; ++i) text += "line " + std::to_string(i) + "\n";
        window.AppendText(text);
        QCOMPARE(window.LineCount(), kMaxOutputLines);
        QCOMPARE(window.Line(0), QStringLiteral("line 0"));
        window.AppendText("newest\n");
        QCOMPARE(window.LineCount(), kMaxOutputLines);
        QCOMPARE(window.Line(0), QStringLiteral("line 1"));
        QCOMPARE(window.Line(kMaxOutputLines - 1), QStringLiteral("newest"));
    }

    void ClearsTheOldestLinesOrAll() {
        COutputWindow window(QStringLiteral("Polling Data Window"), nullptr);
        window.AppendText("a\nb\nc\n");
        window.ClearLines(2);
        QCOMPARE(window.LineCount(), 1);
        QCOMPARE(window.Line(0), QStringLiteral("c"));
        window.AppendText("d\n");
        window.ClearLines(5);  // more than there are
        QCOMPARE(window.LineCount(), 0);
        window.AppendText("e\n");
        window.ClearLines(-1);
        QCOMPARE(window.LineCount(), 0);
    }

    void FontStepsByTwoAndStopsAtEight() {
        QCOMPARE(LargerFontSize(8), 10);
        QCOMPARE(LargerFontSize(40), 42);
        QCOMPARE(SmallerFontSize(10), 8);
        QCOMPARE(SmallerFontSize(8), 8);
        QCOMPARE(SmallerFontSize(6), 6);
        QCOMPARE(SmallerFontSize(9), 7);  // the test is "8 or less"
    }

    void FontIsMonospaceOfTheGivenHeight() {
        COutputWindow window(QStringLiteral("Message Window"), nullptr);
        window.SetFontSize(14);
        QCOMPARE(window.Text()->font().pixelSize(), 14);
        QVERIFY(window.Text()->font().fixedPitch());
    }

    void HasNoCloseButtonAndAWindowManagersCloseHidesIt() {
        COutputWindow window(QStringLiteral("Message Window"), nullptr);
        QVERIFY(!(window.windowFlags() & Qt::WindowCloseButtonHint));
        window.AppendText("kept\n");
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy hidden(&window, &COutputWindow::HiddenByUser);
        QVERIFY(!window.close());
        QVERIFY(!window.isVisible());
        QCOMPARE(hidden.count(), 1);
        QCOMPARE(window.Line(0), QStringLiteral("kept"));
    }

    void LeftButtonReleaseReportsAClick() {
        COutputWindow window(QStringLiteral("Message Window"), nullptr);
        window.AppendText("a\n");
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy clicked(&window, &COutputWindow::Clicked);
        QTest::mouseClick(window.Text()->viewport(), Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);
    }
};

}  // namespace zelo::desktop

QTEST_MAIN(zelo::desktop::OutputWindowTest)
#include "output_window_test.moc"
