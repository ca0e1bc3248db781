#pragma once
// Numbers as the camera-data texts write them into names: a plain decimal
// form and a form with a chosen number of significant digits, both with the
// decimal separator the user's regional settings ask for.

#include <QString>

namespace quillbay {

// The decimal separator of the user's numeric locale.
QString userDecimalSeparator();

// x with (digits - log10 |x|) decimals, that count rounded half to even and
// kept within 0 to 10: 0.008 with 3 digits is 0.00800, 30 is 30.00, 125 with 2
// digits is 125. Zero is "0"; a value that is not finite gives "".
QString significantDigitsText(double x, int digits, const QString &decimalSeparator);

// x as a plain decimal number with up to 15 significant digits and no
// trailing zeros: 2.8, 4, 5.6. Never in exponent form.
QString plainDecimalText(double x, const QString &decimalSeparator);

} // namespace quillbay
