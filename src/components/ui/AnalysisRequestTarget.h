#pragma once
// What the main window knows of an analysis form: its kind, and how a request from
// another program (an attribute list as JSON text) reaches it.
#include <QString>

enum class EAnalysisFormKind : int {
    Physical = 1, // word analysis of physical names
    Logical = 2,  // word analysis of logical names
    Domain = 3,
    Term = 4,
};

// Implemented by the analysis forms (QWidget subclasses). The main window hands the request
// text to the form it has just opened or activated; the form reads and analyses it at once.
class IAnalysisRequestTarget
{
public:
    virtual ~IAnalysisRequestTarget() = default;
    virtual EAnalysisFormKind FormKind() const = 0;
    virtual void ApplyRequest(const QString& json) = 0;
    // Asked before a request replaces the form's input: false keeps what the form shows
    // (the user chose to keep an unsaved analysis).
    virtual bool ConfirmReplace() { return true; }
};
