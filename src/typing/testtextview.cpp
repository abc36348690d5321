#include "testtextview.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

namespace typing {

TestTextView::TestTextView(QWidget *parent) : QTextEdit(parent) {}

void TestTextView::setMark(int position, int length) {
    if (position < 0 || length <= 0) {
        position = -1;
        length = 0;
    }
    if (position == m_position && length == m_length)
        return;
    updateMarkArea();
    m_position = position;
    m_length = length;
    updateMarkArea();
}

void TestTextView::updateMarkArea() {
    // The whole line: the slanted glyph reaches a little beyond its cell.
    if (const auto rect = markRect())
        viewport()->update(0, int(rect->top()) - 1, viewport()->width(), int(rect->height()) + 2);
}

std::optional<QRectF> TestTextView::markRect() const {
    if (m_position < 0 || m_position + m_length >= document()->characterCount())
        return std::nullopt;
    const QTextBlock block = document()->findBlock(m_position);
    const QTextLayout *layout = block.layout();
    if (!block.isValid() || !layout)
        return std::nullopt;
    const int at = m_position - block.position();
    const QTextLine line = layout->lineForTextPosition(at);
    if (!line.isValid())
        return std::nullopt;
    const qreal left = line.cursorToX(at);
    const qreal right = line.cursorToX(at + m_length);
    const QPointF origin = document()->documentLayout()->blockBoundingRect(block).topLeft() -
                           QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
    return QRectF(origin.x() + std::min(left, right), origin.y() + line.y(), std::abs(right - left),
                  line.height());
}

void TestTextView::paintEvent(QPaintEvent *event) {
    QTextEdit::paintEvent(event);
    const auto cell = markRect();
    if (!cell || !event->rect().intersects(cell->toAlignedRect().adjusted(-1, -1, 1, 1)))
        return;
    QTextCursor cursor(document());
    cursor.setPosition(m_position);
    cursor.setPosition(m_position + m_length, QTextCursor::KeepAnchor);
    const QTextCharFormat format = cursor.charFormat();

    QFont font = format.font().resolve(document()->defaultFont());
    font.setBold(true);
    font.setItalic(true);
    const QBrush background = format.background().style() != Qt::NoBrush
                                  ? format.background()
                                  : viewport()->palette().brush(viewport()->backgroundRole());
    const QColor colour = format.foreground().style() != Qt::NoBrush
                              ? format.foreground().color()
                              : viewport()->palette().color(QPalette::Text);

    const QTextBlock block = cursor.block();
    const QTextLine line = block.layout()->lineForTextPosition(m_position - block.position());
    QPainter painter(viewport());
    painter.fillRect(*cell, background);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(QPointF(cell->left(), cell->top() + line.ascent()), cursor.selectedText());
}

} // namespace typing
