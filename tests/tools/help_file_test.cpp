#include <gtest/gtest.h>

#include <QFile>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>

namespace {

// The pages that the program's windows open with F1, by anchor.
const char* const kPages[] = {
    "index",     "quiz",         "types",      "answer",  "keypad",         "score",
    "result",    "coach",        "dissociate", "charge",  "edit-substance", "add-substance",
    "editor",    "new-question", "change",     "display", "print",          "heading",
    "bank-text", "net-ionic",    "results"};

TEST(HelpFile, EveryPageHasItsAnchorAndEveryLinkLeadsToOne) {
  QFile file(TARVOLIN_HELP_FILE);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QTextDocument document;
  document.setHtml(QString::fromUtf8(file.readAll()));
  QSet<QString> anchors, links;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat format = it.fragment().charFormat();
      for (const QString& name : format.anchorNames()) anchors.insert(name);
      if (format.anchorHref().startsWith('#')) links.insert(format.anchorHref().mid(1));
    }
  for (const char* page : kPages) {
    EXPECT_TRUE(anchors.contains(page)) << "no anchor " << page;
    if (QString(page) != "index") {
      EXPECT_TRUE(links.contains(page)) << "no link to " << page;
    }
  }
  for (const QString& link : links)
    EXPECT_TRUE(anchors.contains(link)) << "a link to the missing anchor " << link.toStdString();
}

}  // namespace
