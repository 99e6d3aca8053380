#pragma once
// The offer, on the first analysis or dictionary command of a run while the local analysis
// dictionary is empty, to fill it from the built-in common standard. "예" imports it (with
// progress, then the result), "아니요" leaves it for this run, "다시 묻지 않음" is kept in the
// program's settings store and the offer never comes again.
class QWidget;

enum class EStandardOfferAnswer { NotOffered, Yes, No, Never };

// Asks at most once per run; the answer given, or NotOffered.
EStandardOfferAnswer OfferBuiltinStandard(QWidget* parent);
// The kept "다시 묻지 않음".
bool IsStandardOfferDeclined();
// Each test starts as a fresh run.
void ResetStandardOfferForTests();
