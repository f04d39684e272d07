#include "ui/mainwindow/textureloader.h"

#include "engine/core/textures.h"

#include <QFile>

#include <iostream>

namespace TextureLoader {

QVector<STextureFile> Table()
{
    QVector<STextureFile> table;
    table.append({QStringLiteral("2d_structure.dat"), 2, 993, 993});
    table.append({QStringLiteral("2d_cubes.dat"), 3, 512, 512});
    const struct {
        const char* name;
        int first;
    } families[] = {{"2d_Fabric%1.dat", 4}, {"2d_crack%1.dat", 11}, {"2d_paper%1.dat", 18}, {"2d_metal%1.dat", 25}};
    for (const auto& family : families)
        for (int i = 0; i < 7; ++i)
            table.append({QString::fromLatin1(family.name).arg(i + 1, 2, 10, QLatin1Char('0')), family.first + i, 512,
                          512});
    const int puzzles[7][2] = {{1024, 768}, {768, 1024}, {512, 512}, {1024, 1024}, {1024, 768}, {768, 1024}, {512, 512}};
    for (int i = 0; i < 7; ++i)
        table.append({QStringLiteral("2d_puzzle%1.dat").arg(i + 1), 33 + i, puzzles[i][0], puzzles[i][1]});
    for (int i = 0; i < 6; ++i)
        table.append({QStringLiteral("2d_bubble%1.dat").arg(i + 1), 40 + i, 128, 128});
    return table;
}

void LoadTexture(const QString& folder, const QString& fileName, int slot, int width, int height, int bytesPerPixel,
                 int type)
{
    if (MP_UI_GetTextureNeeded(slot) == 0)
        return;
    const qint64 bytes = qint64(width) * qint64(height) * qint64(bytesPerPixel);
    QFile file(folder + QLatin1Char('/') + fileName);
    if (bytes <= 0 || !file.open(QIODevice::ReadOnly) || file.size() < bytes) {
        MP_UI_AllocTextureData(slot, 0, 0, 0, type); // frees what the slot held; it stays empty
        std::cout << "Texture missing or short: " << fileName.toStdString() << std::endl;
        return;
    }
    MP_UI_AllocTextureData(slot, width, height, bytesPerPixel, type);
    uint16_t* pixels = MP_UI_GetTexturePointer(slot);
    if (!pixels)
        return; // no memory: the slot stays empty
    if (file.read(reinterpret_cast<char*>(pixels), bytes) != bytes) {
        MP_UI_AllocTextureData(slot, 0, 0, 0, type);
        std::cout << "Texture missing or short: " << fileName.toStdString() << std::endl;
    }
}

void LoadAllTextures(const QString& folder)
{
    MP_UI_SetTextureNeeded(2, 1);
    MP_UI_SetTextureNeeded(3, 1);
    for (const STextureFile& file : Table())
        LoadTexture(folder, file.name, file.slot, file.width, file.height, 6, 0);
    std::cout << "Texture Memory: " << MP_UI_GetTextureMemory() / 1048576.0 << " MB" << std::endl;
}

} // namespace TextureLoader
