#pragma once

#include <QRectF>
#include <QTextEdit>

#include <optional>

namespace typing {

// The test window's text: read only, no caret, no clicks. It marks the current
// character in bold and italic by drawing it so over its place, in its own colour
// and underline, instead of changing the document's formats: the text is never
// laid out again for the mark, so no line break moves while the learner types.
class TestTextView : public QTextEdit {
    Q_OBJECT
public:
    explicit TestTextView(QWidget *parent = nullptr);

    // Marks the characters position..position+length-1 (one character, both halves
    // of a pair); a negative position or a length of 0 marks nothing.
    void setMark(int position, int length);
    int markPosition() const { return m_position; }
    int markLength() const { return m_length; }

    // The place of the marked character in the viewport: the cell it takes in
    // the laid out text. Nothing when nothing is marked or it is not laid out.
    std::optional<QRectF> markRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void updateMarkArea();

    int m_position = -1;
    int m_length = 0;
};

} // namespace typing
