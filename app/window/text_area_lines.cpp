#include "app/window/text_area_lines.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>

#include "app/text/qstring_bytes.h"

int LineCount(const QPlainTextEdit& area) {
    const QTextDocument& document = *area.document();
    const int blocks = document.blockCount();
    return document.lastBlock().length() <= 1 ? blocks - 1 : blocks;
}

QString LineAt(const QPlainTextEdit& area, int index) {
    return area.document()->findBlockByNumber(index).text();
}

void SetLines(QPlainTextEdit& area, const std::vector<std::string>& lines) {
    QString text;
    for (const std::string& line : lines) {
        text += FromBytes(line);
        text += u'\n';
    }
    area.setPlainText(text);
}
