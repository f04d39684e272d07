#pragma once
// What a new project clears beside the main window's own state: the
// painters of the interactive editors (the stencil painter and its kin),
// which the editors register here when they are built.

class IProjectPainter {
public:
    virtual ~IProjectPainter() = default;
    // Forgets everything painted for the current document.
    virtual void Clear() = 0;
};

namespace ProjectSeams {

// Registers a painter for newProject's clean-up (once; null is ignored).
void AddPainter(IProjectPainter* painter);
// Removes a painter, for example when it is destroyed.
void RemovePainter(IProjectPainter* painter);
// Clears every registered painter in registration order.
void ClearPainters();

} // namespace ProjectSeams
