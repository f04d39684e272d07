#pragma once
// What the main window holds of the two interactive editors: the clone
// correction painter and the mask geometry painter. The window factory makes
// them (IWindowFactory::CreateStencilPainter / CreateGeometryPainter); the main
// window then calls these few operations. Both are QDialogs parented to the
// main window, which deletes them with itself.

class CShortcutHelper;
class HDRPositionPicker;
class QString;

// The clone-correction painter (CStencilPainter).
class IStencilPainter {
public:
    virtual ~IStencilPainter() = default;
    // Runs the painter modally on an RGB48 image (read only while it is open).
    virtual void Show(const unsigned short* rgb48, unsigned int width, unsigned int height) = 0;
    // Deletes every correction unit (a new project starts).
    virtual void Clear() = 0;
};

// The mask geometry painter (CGeometryPainter).
class IGeometryPainter {
public:
    virtual ~IGeometryPainter() = default;
    // Edits the 32 geometries of the picker modally; every finished edit is
    // written back into the picker (which then reports valueUpdated()).
    virtual void Show(HDRPositionPicker* picker, const QString& title) = 0;
    // After every run of the post-processing chain: re-renders while open.
    virtual bool Refresh() = 0;
    // Once, with the main window's helper of "shortcuts.ini".
    virtual void CreateShortcuts(CShortcutHelper* helper) = 0;
};
