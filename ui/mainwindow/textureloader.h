#pragma once
// The texture table and the loader that fills the engine's texture store
// from the data files in the application's "textures" folder.

#include <QString>
#include <QVector>

namespace TextureLoader {

struct STextureFile {
    QString name;
    int slot;
    int width;
    int height;
};

// The 43 files of the table in slot order (slot 32 has none).
QVector<STextureFile> Table();

// Loads folder + "/" + fileName into slot when the slot is needed. The file
// is checked before memory is taken: a missing or short file leaves the slot
// empty (and says so on standard output); a longer one gives its first
// width x height x bytesPerPixel bytes, read straight into the slot.
void LoadTexture(const QString& folder, const QString& fileName, int slot, int width, int height,
                 int bytesPerPixel, int type);

// Marks slots 2 and 3 as needed, loads every row of the table and writes the
// store's size ("Texture Memory: ... MB").
void LoadAllTextures(const QString& folder);

} // namespace TextureLoader
