#include "app/Ausgabe.h"

namespace zirkulon {

// Lays both legs out from the centre of the inner area: red to the right, blue
// straight up, each 0.45 of the inner width long. Values are formed in double
// precision and rounded to single as the line shapes store them; read-backs
// come from the stored shapes. SetAngle and any drawn arc are left alone.
void Ausgabe::Form_Resize() {
    state_.LegLength = toSingle(static_cast<double>(platform_.scaleWidth()) * 0.9 / 2.0);

    LineShape red = platform_.line(Line::Schenkel1);
    LineShape blue = platform_.line(Line::Schenkel2);
    red.X1 = toSingle(static_cast<double>(platform_.scaleWidth()) / 2.0);
    red.Y1 = toSingle(static_cast<double>(platform_.scaleHeight()) / 2.0);
    blue.Y1 = red.Y1;
    blue.X1 = red.X1;
    red.X2 = toSingle(static_cast<double>(red.X1) + state_.LegLength);
    red.Y2 = red.Y1;
    blue.X2 = blue.X1;
    blue.Y2 = toSingle(static_cast<double>(blue.Y1) - state_.LegLength);
    platform_.setLine(Line::Schenkel1, red);
    platform_.setLine(Line::Schenkel2, blue);
}

} // namespace zirkulon
