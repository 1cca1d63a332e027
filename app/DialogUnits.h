#pragma once

#include <QFont>
#include <QRect>

class QWidget;

// The program's windows are laid out in dialog units of their font, so controls keep their
// places whatever the font: a horizontal unit is a quarter of the font's average character width,
// a vertical one an eighth of its height.
class CDialogUnits
{
public:
    explicit CDialogUnits(int nPointSize, QFont::Weight eWeight = QFont::Normal);

    const QFont& Font() const { return m_font; }
    QRect Rect(int x, int y, int cx, int cy) const;
    QSize Size(int cx, int cy) const;

    // Gives a dialog the program's look: this font and the classic face colour.
    void ApplyTo(QWidget* pDialog) const;

private:
    QFont m_font;
    int m_nAverageWidth = 1;
    int m_nHeight = 1;
};
