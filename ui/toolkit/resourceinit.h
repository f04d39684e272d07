#pragma once
// The program's compiled-in resources (style sheet, icon theme "silk", check
// box and combo box images, cursors) live in a static library; this makes sure
// they are linked and registered. Safe to call any number of times.

void LumivexInitResources();
