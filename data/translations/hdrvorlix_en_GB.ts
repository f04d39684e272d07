<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB">
<context>
    <name>Benchmark</name>
    <message>
        <source>Strukturbeleuchtung</source>
        <translation>Structure lighting</translation>
    </message>
    <message>
        <source>Geometrie</source>
        <translation>Geometry</translation>
    </message>
    <message>
        <source>Details extrahieren</source>
        <translation>Detail extraction</translation>
    </message>
    <message>
        <source>Farbtöne</source>
        <translation>Colour tones</translation>
    </message>
    <message>
        <source>Skizze</source>
        <translation>Sketch</translation>
    </message>
    <message>
        <source>Benchmark</source>
        <translation>Benchmark</translation>
    </message>
    <message>
        <source>Ihr Ergebnis</source>
        <translation>Your result</translation>
    </message>
    <message>
        <source>Marks</source>
        <translation>Marks</translation>
    </message>
</context>
<context>
    <name>CCompareDockWidget</name>
    <message>
        <source>tooltip Compare Window Vertikal</source>
        <translation>Vertical divider: the picture before the current step on the left, after it on the right</translation>
    </message>
    <message>
        <source>tooltip Compare Window Horizontal</source>
        <translation>Horizontal divider: before at the top, after at the bottom</translation>
    </message>
    <message>
        <source>tooltip Compare Window Diagonal1</source>
        <translation>Diagonal divider from the top right to the bottom left</translation>
    </message>
    <message>
        <source>tooltip Compare Window Diagonal2</source>
        <translation>Diagonal divider from the top left to the bottom right</translation>
    </message>
    <message>
        <source>tooltip Compare Window Buffer Flip</source>
        <translation>Swap sides: before and after change sides of the divider</translation>
    </message>
    <message>
        <source>tooltip Compare Window Luminance Toggle</source>
        <translation>Luminance marking on or off: hatches the pixels in the chosen luminance range</translation>
    </message>
    <message>
        <source>tooltip Compare Window Luminance Mode</source>
        <translation>Change the marking: around both thresholds, between them or outside them</translation>
    </message>
    <message>
        <source>tooltip Compare Window Luminance Thresholds</source>
        <translation>Lower and upper luminance threshold: drag the handles</translation>
    </message>
</context>
<context>
    <name>CCropWindow</name>
    <message>
        <source>Crop Window Title</source>
        <translation>Crop and Caption</translation>
    </message>
    <message>
        <source>Texteingabe</source>
        <translation>Caption</translation>
    </message>
    <message>
        <source>tooltip Crop Window SubTitle</source>
        <translation>Caption burnt into the saved image: one line of text</translation>
    </message>
    <message>
        <source>tooltip Crop Window Background</source>
        <translation>Dark box behind the caption: keeps it readable on bright parts of the picture</translation>
    </message>
    <message>
        <source>tooltip Crop Window Font Small</source>
        <translation>Small caption</translation>
    </message>
    <message>
        <source>tooltip Crop Window Font Normal</source>
        <translation>Medium caption</translation>
    </message>
    <message>
        <source>tooltip Crop Window Font Large</source>
        <translation>Large caption</translation>
    </message>
    <message>
        <source>tooltip Crop Window Position Bottom</source>
        <translation>Caption at the bottom edge of the crop</translation>
    </message>
    <message>
        <source>tooltip Crop Window Position Top</source>
        <translation>Caption at the top edge of the crop</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>tooltip Crop Window Reset</source>
        <translation>Whole image again, no caption, medium size at the bottom</translation>
    </message>
    <message>
        <source>Speichern</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>tooltip Crop Window Speichern</source>
        <translation>Save the image with this crop and caption</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>tooltip Crop Window Abbrechen</source>
        <translation>Close without saving</translation>
    </message>
</context>
<context>
    <name>CExposureSeries</name>
    <message>
        <source>Belichtungsreihenbild wird dekomprimiert</source>
        <translation>Decompressing exposure series image</translation>
    </message>
    <message>
        <source>Belichtungsreihenbild wird komprimiert</source>
        <translation>Compressing exposure series image</translation>
    </message>
    <message>
        <source>Berechne HDR-Bild</source>
        <translation>Calculating HDR image</translation>
    </message>
    <message>
        <source>Bild wird vorbereitet</source>
        <translation>Preparing image</translation>
    </message>
    <message>
        <source>Bitte Geduld</source>
        <translation>Please wait</translation>
    </message>
    <message>
        <source>Dateifehler:</source>
        <translation>File error:</translation>
    </message>
    <message>
        <source>Die geladene Bilddatei hat eine zu geringe Auflösung.</source>
        <translation>The loaded image file has too low a resolution.</translation>
    </message>
    <message>
        <source>Die geladene Bilddatei hat nicht die passene Auflösung.</source>
        <translation>The loaded image file does not have the matching resolution.</translation>
    </message>
    <message>
        <source>Die maximale Anzahl ladbarer Bilddateien ist erreicht.</source>
        <translation>The maximum number of loadable image files has been reached.</translation>
    </message>
    <message>
        <source>Eine Datei konnte nicht geschrieben werden</source>
        <translation>A file could not be written</translation>
    </message>
    <message>
        <source>Erzeuge Gewichtungsmaps</source>
        <translation>Creating weight maps</translation>
    </message>
    <message>
        <source>Erzeuge Luminanz-Karte</source>
        <translation>Creating luminance map</translation>
    </message>
    <message>
        <source>Erzeuge Previewbilder</source>
        <translation>Creating preview images</translation>
    </message>
    <message>
        <source>Erzeuge synthetische Bilder</source>
        <translation>Creating synthetic images</translation>
    </message>
    <message>
        <source>Es konnten nicht alle Bilder geladen werden.</source>
        <translation>Not all images could be loaded.</translation>
    </message>
    <message>
        <source>Fusioniere Belichtungsreihe</source>
        <translation>Fusing exposure series</translation>
    </message>
    <message>
        <source>HDR-Berechnung abgeschlossen</source>
        <translation>HDR calculation finished</translation>
    </message>
    <message>
        <source>Lade Projektdatei.</source>
        <translation>Loading project file.</translation>
    </message>
    <message>
        <source>Projekt could not be loaded</source>
        <translation>Project could not be loaded</translation>
    </message>
    <message>
        <source>Projekt geladen</source>
        <translation>Project loaded</translation>
    </message>
    <message>
        <source>Projekt gespeichert</source>
        <translation>Project saved</translation>
    </message>
    <message>
        <source>Speichere Projektdatei.</source>
        <translation>Saving project file.</translation>
    </message>
    <message>
        <source>Berechne Bildausrichtung</source>
        <translation>Calculating image alignment</translation>
    </message>
    <message>
        <source>wird temporär umbelichtet</source>
        <translation>is temporarily re-exposed</translation>
    </message>
    <message>
        <source>wurde erfolgreich ausgerichtet</source>
        <translation>was aligned successfully</translation>
    </message>
    <message>
        <source>enthält zu wenig Information</source>
        <translation>contains too little information</translation>
    </message>
    <message>
        <source>benötigt keine Ausrichtung</source>
        <translation>needs no alignment</translation>
    </message>
    <message>
        <source>erreichte keine Verbesserung</source>
        <translation>reached no improvement</translation>
    </message>
    <message>
        <source>nicht genug freier Speicher verfügbar</source>
        <translation>not enough free memory available</translation>
    </message>
    <message>
        <source>enthält einen Leerzeiger</source>
        <translation>contains a null pointer</translation>
    </message>
    <message>
        <source>Masterbild wird temporär umbelichtet</source>
        <translation>Master image is temporarily re-exposed</translation>
    </message>
    <message>
        <source>Berechne Rotate-Bildausrichtung</source>
        <translation>Calculating rotation alignment</translation>
    </message>
    <message>
        <source>Berechne Verschiebungs-Bildausrichtung</source>
        <translation>Calculating shift alignment</translation>
    </message>
    <message>
        <source>Berechne Zoom-Bildausrichtung</source>
        <translation>Calculating zoom alignment</translation>
    </message>
    <message>
        <source>Berechne Detail-Bildausrichtung</source>
        <translation>Calculating detail alignment</translation>
    </message>
    <message>
        <source>Berechne Mikrodetail-Bildausrichtung</source>
        <translation>Calculating micro-detail alignment</translation>
    </message>
    <message>
        <source>Unnötige Bereiche werden entfernt</source>
        <translation>Removing unneeded areas</translation>
    </message>
    <message>
        <source>Masterbild wird wieder hergestellt</source>
        <translation>Restoring master image</translation>
    </message>
    <message>
        <source>Erstelle Preview Belichtungsreihe</source>
        <translation>Creating exposure series preview</translation>
    </message>
    <message>
        <source>Ermittle Geisterbilder</source>
        <translation>Detecting ghosts</translation>
    </message>
    <message>
        <source>Glätte Geisterbildbereiche</source>
        <translation>Smoothing ghost areas</translation>
    </message>
    <message>
        <source>Berechne Belichtungsreihen Optimierung</source>
        <translation>Calculating exposure series optimisation</translation>
    </message>
    <message>
        <source>Belichtungen werden ermittelt</source>
        <translation>Determining exposures</translation>
    </message>
    <message>
        <source>Belichtungsreihen Optimierung abgeschlossen</source>
        <translation>Exposure series optimisation finished</translation>
    </message>
</context>
<context>
    <name>CGeometryPainter</name>
    <message>
        <source>Geometry Painter</source>
        <translation>Geometry Editor</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>Beenden</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Ja</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Nein</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Alle Geometrien löschen</source>
        <translation>Delete all geometries</translation>
    </message>
    <message>
        <source>Sollen alle Geometrien wirklich gelöscht werden?</source>
        <translation>Do you really want to delete all geometries?</translation>
    </message>
    <message>
        <source>Rundung</source>
        <translation>Roundness</translation>
    </message>
    <message>
        <source>Raute</source>
        <translation>Diamond</translation>
    </message>
    <message>
        <source>Rechteck</source>
        <translation>Rectangle</translation>
    </message>
    <message>
        <source>Schärfe</source>
        <translation>Hardness</translation>
    </message>
    <message>
        <source>Weich</source>
        <translation>Soft</translation>
    </message>
    <message>
        <source>Scharf</source>
        <translation>Hard</translation>
    </message>
    <message>
        <source>Stärke</source>
        <translation>Strength</translation>
    </message>
    <message>
        <source>Gering</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>Hoch</source>
        <translation>High</translation>
    </message>
    <message>
        <source>Darstellung stark</source>
        <translation>Strong display</translation>
    </message>
    <message>
        <source>Darstellung normal</source>
        <translation>Normal display</translation>
    </message>
    <message>
        <source>Darstellung schwach</source>
        <translation>Faint display</translation>
    </message>
    <message>
        <source>tooltip Geometry Window Exponent</source>
        <translation>Shape of the selected geometry: from a diamond through an ellipse to a rectangle.</translation>
    </message>
    <message>
        <source>tooltip Geometry Window Sharpness</source>
        <translation>Hardness of the selected geometry&apos;s edge.</translation>
    </message>
    <message>
        <source>tooltip Geometry Window Intensity</source>
        <translation>Strength of the selected geometry.</translation>
    </message>
    <message>
        <source>tooltip Geometry Window Reset</source>
        <translation>Deletes all geometries.</translation>
    </message>
    <message>
        <source>tooltip Geometry Window Add Positive</source>
        <translation>Adds a geometry in which the filter acts.</translation>
    </message>
    <message>
        <source>tooltip Geometry Window Add Negative</source>
        <translation>Adds a geometry in which the filter does not act.</translation>
    </message>
    <message>
        <source>tooltip Geometry Window Invert Selected</source>
        <translation>Inverts the effect of the selected geometry.</translation>
    </message>
    <message>
        <source>tooltip Geometry Window Duplicate Selected</source>
        <translation>Duplicates the selected geometry into the image centre.</translation>
    </message>
    <message>
        <source>tooltip Geometry Window Delete Selected</source>
        <translation>Deletes the selected geometry.</translation>
    </message>
    <message>
        <source>tooltip Geometry Window Display Geometries None</source>
        <translation>Shows the image without the mask.</translation>
    </message>
    <message>
        <source>tooltip Geometry Window Display Geometries Single</source>
        <translation>Shows the mask of the selected geometry; right click: display strength.</translation>
    </message>
    <message>
        <source>tooltip Geometry Window Display Geometries All</source>
        <translation>Shows the mask of all geometries; right click: display strength.</translation>
    </message>
    <message>
        <source>tooltip Geometry Window Beenden</source>
        <translation>Closes the window.</translation>
    </message>
</context>
<context>
    <name>CImageLoader</name>
    <message>
        <source>Ladevorgang</source>
        <translation>Loading</translation>
    </message>
    <message>
        <source>Lade Bild</source>
        <translation>Loading image</translation>
    </message>
    <message>
        <source>Prüfe Datei</source>
        <translation>Checking file</translation>
    </message>
</context>
<context>
    <name>CLoadThread</name>
    <message>
        <source>Datei beschädigt oder unvollständig</source>
        <translation>File damaged or incomplete</translation>
    </message>
    <message>
        <source>Datei ist kein Bild</source>
        <translation>The file is not an image</translation>
    </message>
</context>
<context>
    <name>CStencilPainter</name>
    <message>
        <source>Stencil Painter</source>
        <translation>Clone Correction</translation>
    </message>
    <message>
        <source>Größe</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>Beenden</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Korrektureinheiten</source>
        <translation>Correction units</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Alle Korrekturen löschen</source>
        <translation>Delete all corrections</translation>
    </message>
    <message>
        <source>Sollen alle Korrekturen wirklich gelöscht werden?</source>
        <translation>Do you really want to delete all corrections?</translation>
    </message>
    <message>
        <source>Ja</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Nein</source>
        <translation>No</translation>
    </message>
    <message>
        <source>tooltip Stencil Window Show Variation</source>
        <translation>Shows the image&apos;s texture so that scratches and dust stand out.</translation>
    </message>
    <message>
        <source>tooltip Stencil Window Variation Intensity</source>
        <translation>Strength of the texture view.</translation>
    </message>
    <message>
        <source>tooltip Stencil Window Stencil Active</source>
        <translation>Shows the image with all corrections; off, the unchanged image.</translation>
    </message>
    <message>
        <source>tooltip Stencil Window Show Sources</source>
        <translation>Shows the sources of all corrections and their link to the target.</translation>
    </message>
    <message>
        <source>tooltip Stencil Window Recalc All</source>
        <translation>Searches the best source again for every automatic correction.</translation>
    </message>
    <message>
        <source>tooltip Stencil Window Delete All</source>
        <translation>Deletes all corrections.</translation>
    </message>
    <message>
        <source>tooltip Stencil Window New Stencil</source>
        <translation>Places a new correction with the next click into the image.</translation>
    </message>
    <message>
        <source>tooltip Stencil Window New Stencil Size</source>
        <translation>Size of the next new correction.</translation>
    </message>
    <message>
        <source>tooltip Stencil Window Stencil Size</source>
        <translation>Size of the selected correction.</translation>
    </message>
    <message>
        <source>tooltip Stencil Window Best Match</source>
        <translation>Searches the best source for the selected correction automatically.</translation>
    </message>
    <message>
        <source>tooltip Stencil Window Delete</source>
        <translation>Deletes the selected correction.</translation>
    </message>
    <message>
        <source>tooltip Stencil Window Finish</source>
        <translation>Closes the window.</translation>
    </message>
</context>
<context>
    <name>CTextureSelector</name>
    <message>
        <source>Texture Selector</source>
        <translation>Texture Selector</translation>
    </message>
</context>
<context>
    <name>HDRAboutWindow</name>
    <message>
        <source>Über Lumivex</source>
        <translation>About Lumivex</translation>
    </message>
    <message>
        <source>About Groupbox Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>LUMIVEX About copyright text &amp; links</source>
        <translation>&lt;b&gt;Version and legal notes&lt;/b&gt;&lt;/H4&gt;&lt;p&gt;Lumivex turns exposure series and single photographs into finished pictures.&lt;/p&gt;&lt;p&gt;Copyright &amp;copy; the Lumivex team. All rights reserved. The program is provided without any warranty; to the extent the law allows, no liability is accepted for damage arising from its use.&lt;/p&gt;&lt;p&gt;News, help and updates: &lt;a href=&quot;https://CODE_HOMEPAGEURL&quot;&gt;CODE_HOMEPAGEURL&lt;/a&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>About Groupbox Credits</source>
        <translation>Credits</translation>
    </message>
    <message>
        <source>About credits Liste</source>
        <translation>&lt;p&gt;Lumivex uses these libraries and thanks their authors:&lt;/p&gt;&lt;ul&gt;&lt;li&gt;&lt;b&gt;Qt 6&lt;/b&gt; &amp;ndash; user interface, files, settings and printing (&lt;a href=&quot;https://www.qt.io/&quot;&gt;qt.io&lt;/a&gt;)&lt;/li&gt;&lt;li&gt;&lt;b&gt;FreeImage&lt;/b&gt; &amp;ndash; reading and writing image files and their metadata (&lt;a href=&quot;https://freeimage.sourceforge.io/&quot;&gt;freeimage.sourceforge.io&lt;/a&gt;)&lt;/li&gt;&lt;li&gt;through FreeImage: &lt;b&gt;libjpeg&lt;/b&gt; of the Independent JPEG Group, &lt;b&gt;libpng&lt;/b&gt;, &lt;b&gt;libtiff&lt;/b&gt;, &lt;b&gt;zlib&lt;/b&gt;, &lt;b&gt;OpenJPEG&lt;/b&gt;, &lt;b&gt;OpenEXR&lt;/b&gt;, &lt;b&gt;LibRaw&lt;/b&gt; and &lt;b&gt;libwebp&lt;/b&gt;&lt;/li&gt;&lt;/ul&gt;&lt;p&gt;Thanks also to everyone who reported problems and contributed ideas.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>About Groupbox License</source>
        <translation>Licences</translation>
    </message>
    <message>
        <source>About License Liste</source>
        <translation>&lt;p&gt;&lt;b&gt;Qt 6&lt;/b&gt;: GNU Lesser General Public License version 3 (LGPLv3).&lt;br/&gt;&lt;b&gt;FreeImage&lt;/b&gt;: FreeImage Public License version 1.0 (or, at your choice, GNU GPL version 2 or 3).&lt;br/&gt;&lt;b&gt;libjpeg&lt;/b&gt;: Independent JPEG Group licence; this software is based in part on the work of the Independent JPEG Group.&lt;br/&gt;&lt;b&gt;libpng&lt;/b&gt;: PNG Reference Library License. &lt;b&gt;libtiff&lt;/b&gt;: libtiff licence (BSD-style). &lt;b&gt;zlib&lt;/b&gt;: zlib licence.&lt;br/&gt;&lt;b&gt;OpenJPEG&lt;/b&gt;: BSD-2-Clause. &lt;b&gt;OpenEXR&lt;/b&gt;: BSD-3-Clause. &lt;b&gt;LibRaw&lt;/b&gt;: LGPL 2.1 or CDDL 1.0. &lt;b&gt;libwebp&lt;/b&gt;: BSD-3-Clause.&lt;/p&gt;&lt;p&gt;The full licence texts come with the libraries.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>About verlassen</source>
        <translation>Close this window</translation>
    </message>
</context>
<context>
    <name>HDRBatchExposureWidget</name>
    <message>
        <source>gefundene Belichtungsreihe lumivex</source>
        <translation>Image found: when ticked it is computed and saved. Right-click for more.</translation>
    </message>
    <message>
        <source>gefundene Belichtungsreihe lumivex Browser</source>
        <translation>Image found: right-click and “Open as project” opens it in the main window.</translation>
    </message>
    <message>
        <source>Als Projekt öffnen</source>
        <translation>Open as project</translation>
    </message>
    <message>
        <source>Bild deaktivieren</source>
        <translation>Deactivate image</translation>
    </message>
    <message>
        <source>Bild entfernen</source>
        <translation>Remove image</translation>
    </message>
    <message>
        <source>Bildvorbereitung</source>
        <translation>Preparing image</translation>
    </message>
    <message>
        <source>Belichtungsreihe konnte nicht geladen werden.</source>
        <translation>The image could not be loaded.</translation>
    </message>
    <message>
        <source>Post Processing</source>
        <translation>Post-processing</translation>
    </message>
</context>
<context>
    <name>HDRBatchProcessThread</name>
    <message>
        <source>abgeschlossen</source>
        <translation>done</translation>
    </message>
    <message>
        <source>geschätze Restzeit</source>
        <translation>estimated time left</translation>
    </message>
    <message>
        <source>Minuten</source>
        <translation>minutes</translation>
    </message>
    <message>
        <source>Minute</source>
        <translation>minute</translation>
    </message>
    <message>
        <source>Sekunden</source>
        <translation>seconds</translation>
    </message>
    <message>
        <source>Sekunde</source>
        <translation>second</translation>
    </message>
    <message>
        <source>Speichere</source>
        <translation>Saving</translation>
    </message>
</context>
<context>
    <name>HDRBatchWindow</name>
    <message>
        <source>Bilder</source>
        <translation>Images</translation>
    </message>
    <message>
        <source>Stapelverarbeitung</source>
        <translation>Batch processing</translation>
    </message>
    <message>
        <source>Quelldaten</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>Quellordner:</source>
        <translation>Source folder:</translation>
    </message>
    <message>
        <source>Zuordnung:</source>
        <translation>Grouping:</translation>
    </message>
    <message>
        <source>Automatische Zuordnung</source>
        <translation>Automatic grouping</translation>
    </message>
    <message>
        <source>Einzelbilder</source>
        <translation>Single images</translation>
    </message>
    <message>
        <source>%1-Bilder Gruppierung</source>
        <translation>Groups of %1 images</translation>
    </message>
    <message>
        <source>Unterverzeichnisse einbeziehen</source>
        <translation>Include subfolders</translation>
    </message>
    <message>
        <source>Ausgabedaten</source>
        <translation>Output</translation>
    </message>
    <message>
        <source>Zielordner:</source>
        <translation>Target folder:</translation>
    </message>
    <message>
        <source>Zielformat:</source>
        <translation>File format:</translation>
    </message>
    <message>
        <source>TIF 8-Bit (*.tif)</source>
        <translation>TIF 8-bit (*.tif)</translation>
    </message>
    <message>
        <source>Jpeg 8-Bit (*.jpg)</source>
        <translation>JPEG 8-bit (*.jpg)</translation>
    </message>
    <message>
        <source>TIFF 16-Bit (*.tiff)</source>
        <translation>TIFF 16-bit (*.tiff)</translation>
    </message>
    <message>
        <source>PNG 16-Bit (*.png)</source>
        <translation>PNG 16-bit (*.png)</translation>
    </message>
    <message>
        <source>Jpeg 16-Bit (*.jp2)</source>
        <translation>JPEG 16-bit (*.jp2)</translation>
    </message>
    <message>
        <source>Dateien auf Festplatte umsortieren</source>
        <translation>Re-sort files on disk</translation>
    </message>
    <message>
        <source>Verarbeitung</source>
        <translation>Processing</translation>
    </message>
    <message>
        <source>360 Grad Panorama mode</source>
        <translation>360 degree panorama mode</translation>
    </message>
    <message>
        <source>automatische Bildoptimierung</source>
        <translation>automatic image optimisation</translation>
    </message>
    <message>
        <source>PP Voreinstellung Color/Tavren:</source>
        <translation>Post-processing preset:</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Batchbutton Beenden</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Starten</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Bitte gültigen Quell &amp; Zielordner wählen...</source>
        <translation>Please choose a valid source and target folder...</translation>
    </message>
    <message>
        <source>Bilddaten-Browser</source>
        <translation>Image browser</translation>
    </message>
    <message>
        <source>HDRBatchWindow Infotext lumivex</source>
        <translation>&lt;h3&gt;Batch processing&lt;/h3&gt;&lt;p&gt;Choose a source folder: every image in it appears in the list with a preview. Choose a target folder, the file format and a post-processing preset, then press “Start”.&lt;/p&gt;&lt;p&gt;Every ticked image is computed at full size and saved under its name in the target folder; existing files are never overwritten, the new name gets a number.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>HDRBatchWindowBrowser Infotext lumivex</source>
        <translation>&lt;h3&gt;Image browser&lt;/h3&gt;&lt;p&gt;Every image of the source folder is shown with a preview. Right-click an image and choose “Open as project” to open it in the main window.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Quellpfad auswählen</source>
        <translation>Choose the source folder</translation>
    </message>
    <message>
        <source>Zielpfad auswählen</source>
        <translation>Choose the target folder</translation>
    </message>
    <message>
        <source>Der Quellordner wird nach Dateien durchsucht.</source>
        <translation>Searching the source folder for files.</translation>
    </message>
    <message>
        <source>Der Quellordner enthält keine Bilddateien.</source>
        <translation>The source folder holds no image files.</translation>
    </message>
    <message>
        <source>Order wird nach Bildmaterial durchsucht...</source>
        <translation>Loading the images of the folder...</translation>
    </message>
    <message>
        <source>Previews der gefundenen Bilder werden erzeugt...</source>
        <translation>Creating previews of the images found...</translation>
    </message>
    <message>
        <source>Bilder anpassen oder Berechnung starten</source>
        <translation>Adjust the images or start the batch</translation>
    </message>
    <message>
        <source>starte...</source>
        <translation>starting...</translation>
    </message>
    <message>
        <source>Progress Stapelverarbeitung starten</source>
        <translation>Starting batch processing</translation>
    </message>
    <message>
        <source>Wird abgebrochen</source>
        <translation>Stopping</translation>
    </message>
    <message>
        <source>Tooltip Quellpfad auswählen</source>
        <translation>Choose the folder holding the images to process</translation>
    </message>
    <message>
        <source>Zuordnungsverfahren wählen</source>
        <translation>Choose how images are grouped into series</translation>
    </message>
    <message>
        <source>Checkbox rekursiv</source>
        <translation>Also read the images of every subfolder</translation>
    </message>
    <message>
        <source>Tooltip Ausgabepfad auswählen</source>
        <translation>Choose the folder for the computed images</translation>
    </message>
    <message>
        <source>Speicherformat wählen</source>
        <translation>Choose the file format of the computed images</translation>
    </message>
    <message>
        <source>tooltip Dateien auf Festplatte umsortieren</source>
        <translation>Re-sort the source files after the batch</translation>
    </message>
    <message>
        <source>Batch HDR Preset</source>
        <translation>HDR preset of the batch</translation>
    </message>
    <message>
        <source>tooltip 360 Grad Panorama mode</source>
        <translation>Treat the images as 360 degree panoramas: filters wrap around the left and right edges</translation>
    </message>
    <message>
        <source>tooltip automatische Bildoptimierung</source>
        <translation>Optimise the images automatically</translation>
    </message>
    <message>
        <source>Batch PostProcessing Preset</source>
        <translation>Preset with which every image is post-processed</translation>
    </message>
    <message>
        <source>Batch Einzelbildbereich</source>
        <translation>The images found: only ticked ones are computed</translation>
    </message>
    <message>
        <source>Stapelverarbeitung auf Standardwerte zurücksetzen</source>
        <translation>Reset batch processing to its defaults</translation>
    </message>
    <message>
        <source>Stapelverarbeitung Abbrechen</source>
        <translation>Close the window without computing</translation>
    </message>
    <message>
        <source>Stapelverarbeitung starten</source>
        <translation>Compute and save every ticked image</translation>
    </message>
    <message>
        <source>Browser beenden</source>
        <translation>Close the image browser</translation>
    </message>
</context>
<context>
    <name>HDRBenchmarkWindow</name>
    <message>
        <source>Benchmark Window Title</source>
        <translation>Benchmark</translation>
    </message>
    <message>
        <source>Benchmark Exit</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>tooltip BenchnarkWindow verlassen</source>
        <translation>End the benchmark and close the window</translation>
    </message>
</context>
<context>
    <name>HDRExposureDockWidget</name>
    <message>
        <source>HDR WeightPresets</source>
        <translation>HDR weighting</translation>
    </message>
    <message>
        <source>tooltip HDRWeightPreset Groupbox</source>
        <translation>How the pictures of the series are weighted against each other</translation>
    </message>
    <message>
        <source>HDR WeightPreset custom</source>
        <translation>Custom weighting</translation>
    </message>
    <message>
        <source>HDR WeightPreset equal</source>
        <translation>Equal weighting</translation>
    </message>
    <message>
        <source>HDR WeightPreset Luminance</source>
        <translation>By brightness</translation>
    </message>
    <message>
        <source>HDR WeightPreset Congruence</source>
        <translation>By congruence</translation>
    </message>
    <message>
        <source>HDR WeightPreset LuminanceCongruence</source>
        <translation>By brightness and congruence</translation>
    </message>
    <message>
        <source>tooltip Belichtungsreihenbild an/aus</source>
        <translation>Switch the picture on or off for the HDR calculation</translation>
    </message>
    <message numerus="yes">
        <source>Belichtungsreihe mit %n Bild(ern)</source>
        <translation>
            <numerusform>Exposure series with %n picture</numerusform>
            <numerusform>Exposure series with %n pictures</numerusform>
        </translation>
    </message>
    <message>
        <source>Belichtungsreihe</source>
        <translation>Exposure series</translation>
    </message>
    <message>
        <source>HDRExposureDockWidget lumivex</source>
        <translation>&lt;h3&gt;Exposure series&lt;/h3&gt;&lt;p&gt;This shows the document&apos;s picture with its weight map.&lt;/p&gt;&lt;ul&gt;&lt;li&gt;Click the picture to see it in the preview, or the weight map to see which areas shape the HDR image; a second click returns to the result.&lt;/li&gt;&lt;li&gt;&lt;b&gt;Global weight&lt;/b&gt; sets how strongly the picture enters the HDR image.&lt;/li&gt;&lt;li&gt;&lt;b&gt;Exposure value&lt;/b&gt; brightens or darkens the picture before it is merged.&lt;/li&gt;&lt;/ul&gt;</translation>
    </message>
</context>
<context>
    <name>HDRExposureGroupBox</name>
    <message>
        <source>tooltip Belichtungsreihenbild</source>
        <translation>Show the picture in the preview</translation>
    </message>
    <message>
        <source>tooltip Gewichtungsbild</source>
        <translation>Show the weight map in the preview</translation>
    </message>
    <message>
        <source>Master</source>
        <translation>Master</translation>
    </message>
    <message>
        <source>Bild entfernen</source>
        <translation>Remove the picture from the series</translation>
    </message>
    <message>
        <source>Globales Gewicht</source>
        <translation>Global weight</translation>
    </message>
    <message>
        <source>schwach</source>
        <translation>weak</translation>
    </message>
    <message>
        <source>stark</source>
        <translation>strong</translation>
    </message>
    <message>
        <source>tooltip Global weight slider</source>
        <translation>How strongly the picture enters the HDR image</translation>
    </message>
    <message>
        <source>Belichtungswert</source>
        <translation>Exposure value</translation>
    </message>
    <message>
        <source>dunkel</source>
        <translation>dark</translation>
    </message>
    <message>
        <source>hell</source>
        <translation>bright</translation>
    </message>
    <message>
        <source>tooltip EV slider</source>
        <translation>Brighten or darken the picture before it is merged</translation>
    </message>
</context>
<context>
    <name>HDRHistogramDockWidget</name>
    <message>
        <source>Luminanz</source>
        <translation>Luminance</translation>
    </message>
    <message>
        <source>tooltip Histogramm Luminanz</source>
        <translation>Show the brightness distribution</translation>
    </message>
    <message>
        <source>R</source>
        <translation>R</translation>
    </message>
    <message>
        <source>tooltip Histogramm Rotanteil</source>
        <translation>Show the red channel</translation>
    </message>
    <message>
        <source>G</source>
        <translation>G</translation>
    </message>
    <message>
        <source>tooltip Histogramm Grünanteil</source>
        <translation>Show the green channel</translation>
    </message>
    <message>
        <source>B</source>
        <translation>B</translation>
    </message>
    <message>
        <source>tooltip Histogramm Blauanteil</source>
        <translation>Show the blue channel</translation>
    </message>
    <message>
        <source>kumulativ</source>
        <translation>cumulative</translation>
    </message>
    <message>
        <source>tooltip Histogramm kumulativ</source>
        <translation>Show the cumulative curve instead of the distribution</translation>
    </message>
</context>
<context>
    <name>HDRImagePreview</name>
    <message>
        <source>Vorschaumodus an/aus</source>
        <translation>Preview mode on/off</translation>
    </message>
    <message>
        <source>Echtzeitberechnung an/aus</source>
        <translation>Real-time calculation on/off</translation>
    </message>
    <message>
        <source>neu berechnen</source>
        <translation>Recalculate</translation>
    </message>
    <message>
        <source>Grenzpixel anzeigen</source>
        <translation>Show clipped pixels: too dark in blue, too bright in yellow to red</translation>
    </message>
    <message>
        <source>Originalgröße</source>
        <translation>Actual size (100 %)</translation>
    </message>
    <message>
        <source>Zoomfaktor</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>kleiner</source>
        <translation>smaller</translation>
    </message>
    <message>
        <source>größer</source>
        <translation>larger</translation>
    </message>
    <message>
        <source>passende Größe</source>
        <translation>Fit: the whole picture in the window</translation>
    </message>
    <message>
        <source>Zusatzfunktionen ein-/ausblenden</source>
        <translation>Show or hide mirroring and rotating</translation>
    </message>
    <message>
        <source>horizontal spiegeln LUMIVEX Tavren</source>
        <translation>Mirror horizontally</translation>
    </message>
    <message>
        <source>vertikal spiegeln LUMIVEX Tavren</source>
        <translation>Flip vertically</translation>
    </message>
    <message>
        <source>90 Grad nach links drehen LUMIVEX Tavren</source>
        <translation>Rotate 90 degrees to the left</translation>
    </message>
    <message>
        <source>90 Grad nach rechts drehen LUMIVEX Tavren</source>
        <translation>Rotate 90 degrees to the right</translation>
    </message>
    <message>
        <source>Pixel</source>
        <translation>pixels</translation>
    </message>
    <message>
        <source>Abkürzung Megapixel</source>
        <translation>MP</translation>
    </message>
    <message>
        <source>ISO</source>
        <translation>ISO</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
</context>
<context>
    <name>HDRInfoDialog</name>
    <message>
        <source>Informationen</source>
        <translation>Information</translation>
    </message>
</context>
<context>
    <name>HDRMainWindow</name>
    <message>
        <source>Lumivex Start</source>
        <translation>&lt;h2&gt;Welcome to Lumivex Pro&lt;/h2&gt;&lt;p&gt;&lt;img src=&quot;images\startup.png&quot; width=&quot;300&quot;&gt;&lt;/p&gt;
&lt;p&gt;Lumivex turns a photograph into a finished picture: load an image, choose a preset and refine the result in expert mode.&lt;/p&gt;
&lt;ul&gt;&lt;li&gt;&lt;b&gt;Load single image&lt;/b&gt;: open a photograph or a RAW file.&lt;/li&gt;
&lt;li&gt;&lt;b&gt;Image browser&lt;/b&gt;: look through the images of a folder and pick one.&lt;/li&gt;
&lt;li&gt;&lt;b&gt;Open project&lt;/b&gt;: continue a saved edit.&lt;/li&gt;
&lt;li&gt;&lt;b&gt;Batch processing&lt;/b&gt;: process many images with the same settings.&lt;/li&gt;&lt;/ul&gt;
&lt;p&gt;You can also simply drag an image onto the window.&lt;/p&gt;
&lt;p&gt;&lt;a href=&quot;https://CODE_HOMEPAGEURL&quot;&gt;Lumivex on the web&lt;/a&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>HomepageURL LUMIVEX PRO</source>
        <translation>lumivex.invalid/</translation>
    </message>
    <message>
        <source>UpdatepageURL LUMIVEX PRO</source>
        <translation>lumivex.invalid/</translation>
    </message>
    <message>
        <source>Projekt speichern</source>
        <translation>Save project</translation>
    </message>
    <message>
        <source>Beenden</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Einstellungen...</source>
        <translation>Settings...</translation>
    </message>
    <message>
        <source>Informationsfenster</source>
        <translation>Information window</translation>
    </message>
    <message>
        <source>Datei</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Projekte...</source>
        <translation>Projects...</translation>
    </message>
    <message>
        <source>Ansicht</source>
        <translation>View</translation>
    </message>
    <message>
        <source>Extras</source>
        <translation>Extras</translation>
    </message>
    <message>
        <source>StyleSheet 1</source>
        <translation>Anthracite</translation>
    </message>
    <message>
        <source>StyleSheet 2</source>
        <translation>Olive</translation>
    </message>
    <message>
        <source>StyleSheet 3</source>
        <translation>Graphite</translation>
    </message>
    <message>
        <source>StyleSheet 4</source>
        <translation>Light</translation>
    </message>
    <message>
        <source>StyleSheet 5</source>
        <translation>Night blue</translation>
    </message>
    <message>
        <source>StyleSheet 6</source>
        <translation>Rosewood</translation>
    </message>
    <message>
        <source>StyleSheet 7</source>
        <translation>Sepia</translation>
    </message>
    <message>
        <source>StyleSheet free</source>
        <translation>Own colour...</translation>
    </message>
    <message>
        <source>Styles...</source>
        <translation>Styles...</translation>
    </message>
    <message>
        <source>Dateifehler:</source>
        <translation>File error:</translation>
    </message>
    <message>
        <source>konnte nicht erstellt werden</source>
        <translation>could not be created</translation>
    </message>
    <message>
        <source>Speichern erfolgreich</source>
        <translation>Saved successfully</translation>
    </message>
    <message>
        <source>Nicht genug Arbeitsspeicher zum Speichern verfügbar.</source>
        <translation>Not enough memory available for saving.</translation>
    </message>
    <message>
        <source>Nicht genug Arbeitsspeicher für den Bildbeschnitt verfügbar.</source>
        <translation>Not enough memory available for cropping the image.</translation>
    </message>
    <message>
        <source>wird als 8-Bit .tif gespeichert.</source>
        <translation>is saved as 8-bit .tif.</translation>
    </message>
    <message>
        <source>wird als 8-Bit .jpg gespeichert.</source>
        <translation>is saved as 8-bit .jpg.</translation>
    </message>
    <message>
        <source>wird als 16-Bit .tiff gespeichert.</source>
        <translation>is saved as 16-bit .tiff.</translation>
    </message>
    <message>
        <source>wird als 16-Bit .png gespeichert.</source>
        <translation>is saved as 16-bit .png.</translation>
    </message>
    <message>
        <source>wird als 16-Bit .jp2 gespeichert.</source>
        <translation>is saved as 16-bit .jp2.</translation>
    </message>
    <message>
        <source>wird als HDR .hdr gespeichert.</source>
        <translation>is saved as HDR .hdr.</translation>
    </message>
    <message>
        <source>wird als OpenEXR .exr gespeichert.</source>
        <translation>is saved as OpenEXR .exr.</translation>
    </message>
    <message>
        <source>wird als 32-Bit .tif32 gespeichert.</source>
        <translation>is saved as 32-bit .tif32.</translation>
    </message>
    <message>
        <source>wird als 32-Bit .pfm gespeichert.</source>
        <translation>is saved as 32-bit .pfm.</translation>
    </message>
    <message>
        <source>lumivex Einzelbild laden</source>
        <translation>lumivex load single image</translation>
    </message>
    <message>
        <source>Bildsequenz laden</source>
        <translation>Load image sequence</translation>
    </message>
    <message>
        <source>Warnung</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Bitte nur eine Datei einladen.</source>
        <translation>Please load only one file.</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <source>Berechne Post Processing</source>
        <translation>Calculating post processing</translation>
    </message>
    <message>
        <source>Speichern wird vorbereitet.</source>
        <translation>Preparing to save.</translation>
    </message>
    <message>
        <source>MyImage</source>
        <translation>MyImage</translation>
    </message>
    <message>
        <source>Ergebnisbild speichern</source>
        <translation>Save result image</translation>
    </message>
    <message>
        <source>Ja</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Nein</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Preview-Modus! Neu berechnen?</source>
        <translation>Preview mode! Recalculate?</translation>
    </message>
    <message>
        <source>Preview-Modus! Neu berechnen für SendTo?</source>
        <translation>Preview mode! Recalculate for SendTo?</translation>
    </message>
    <message>
        <source>Nicht genug Arbeitsspeicher vorhanden.</source>
        <translation>Not enough memory available.</translation>
    </message>
    <message>
        <source>Der Druck konnte nicht gestartet werden.</source>
        <translation>Printing could not be started.</translation>
    </message>
    <message>
        <source>Die Datei %1 gibt es bereits. Soll sie ersetzt werden?</source>
        <translation>The file %1 already exists. Replace it?</translation>
    </message>
    <message>
        <source>Lumivex Projektdatei</source>
        <translation>Lumivex project file</translation>
    </message>
    <message>
        <source>Startseite</source>
        <translation>Start page</translation>
    </message>
    <message>
        <source>Projekt öffnen...</source>
        <translation>Open project...</translation>
    </message>
    <message>
        <source>Projekt speichern unter...</source>
        <translation>Save project as...</translation>
    </message>
    <message>
        <source>Undopunkt setzen</source>
        <translation>Set undo point</translation>
    </message>
    <message>
        <source>Undopunkt holen</source>
        <translation>Get undo point</translation>
    </message>
    <message>
        <source>Timeline</source>
        <translation>Timeline</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Projekt nicht gespeichert. Speichern?</source>
        <translation>The project is not saved. Save it?</translation>
    </message>
    <message>
        <source>MyProject</source>
        <translation>MyProject</translation>
    </message>
    <message>
        <source>Das Projekt %1 gibt es bereits. Soll es ersetzt werden?</source>
        <translation>The project %1 already exists. Replace it?</translation>
    </message>
    <message>
        <source>Projekt laden</source>
        <translation>Load project</translation>
    </message>
    <message>
        <source>Projektdateien unvollständig.</source>
        <translation>The project files are incomplete.</translation>
    </message>
    <message>
        <source>Projektdateien sind nicht kompatibel.</source>
        <translation>The project files are not compatible.</translation>
    </message>
    <message>
        <source>Undo recovery</source>
        <translation>Undo recovery</translation>
    </message>
    <message>
        <source>Timeline Window</source>
        <translation>Timeline Window</translation>
    </message>
    <message>
        <source>lumivex Einzelbild laden...</source>
        <translation>Load lumivex single image...</translation>
    </message>
    <message>
        <source>Bilddaten-Browser...</source>
        <translation>Image data browser...</translation>
    </message>
    <message>
        <source>Ergebnisbild speichern...</source>
        <translation>Save result image...</translation>
    </message>
    <message>
        <source>Ergebnisbild drucken...</source>
        <translation>Print result image...</translation>
    </message>
    <message>
        <source>Überträgt das aktuelle Bild an die ausgewählte Anwendung der &apos;Vorlix&apos;-Produktfamilie.</source>
        <translation>Sends the current image to the chosen application of the &apos;Vorlix&apos; product family.</translation>
    </message>
    <message>
        <source>Wählen Sie eine Anwendung der &apos;Vorlix&apos;-Produktfamilie für die Übertragung.</source>
        <translation>Choose an application of the &apos;Vorlix&apos; product family to send to.</translation>
    </message>
    <message>
        <source>Ergebnisbild extern öffnen</source>
        <translation>Open result image externally</translation>
    </message>
    <message>
        <source>Panorama Viewer</source>
        <translation>Panorama viewer</translation>
    </message>
    <message>
        <source>Compare Window</source>
        <translation>Compare window</translation>
    </message>
    <message>
        <source>Tonemapping/Post-Processing</source>
        <translation>Tone mapping/post-processing</translation>
    </message>
    <message>
        <source>RAW-Entwicklung lumivex...</source>
        <translation>lumivex RAW development...</translation>
    </message>
    <message>
        <source>Fenster zurücksetzen</source>
        <translation>Reset windows</translation>
    </message>
    <message>
        <source>Stapelverarbeitung...</source>
        <translation>Batch processing...</translation>
    </message>
    <message>
        <source>Lumivex Homepage</source>
        <translation>Lumivex homepage</translation>
    </message>
    <message>
        <source>Lumivex updatePage</source>
        <translation>Lumivex update page</translation>
    </message>
    <message>
        <source>Hilfe</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Statistik</source>
        <translation>Statistics</translation>
    </message>
    <message>
        <source>Benchmark</source>
        <translation>Benchmark</translation>
    </message>
    <message>
        <source>Über Lumivex...</source>
        <translation>About Lumivex...</translation>
    </message>
    <message>
        <source>Exif</source>
        <translation>Exif</translation>
    </message>
    <message>
        <source>Histogramm</source>
        <translation>Histogram</translation>
    </message>
    <message>
        <source>Interface ein/ausblenden</source>
        <translation>Show/hide interface</translation>
    </message>
    <message>
        <source>Bearbeiten</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Werkzeugleiste</source>
        <translation>Toolbar</translation>
    </message>
    <message>
        <source>Bildfunktionen</source>
        <translation>Image functions</translation>
    </message>
    <message>
        <source>Rahmenfarbe: Ambient</source>
        <translation>Frame colour: ambient</translation>
    </message>
    <message>
        <source>Rahmenfarbe: Graukarte</source>
        <translation>Frame colour: grey card</translation>
    </message>
    <message>
        <source>Alle Dateien</source>
        <translation>All files</translation>
    </message>
    <message>
        <source>Expertenmodus</source>
        <translation>Expert mode</translation>
    </message>
    <message>
        <source>Homepage URL</source>
        <translation>https://CODE_HOMEPAGEURL</translation>
    </message>
    <message>
        <source>UpdatePage URL</source>
        <translation>https://CODE_UPDATEPAGEURL</translation>
    </message>
    <message>
        <source>Belichtungsreihe</source>
        <translation>Exposure series</translation>
    </message>
    <message>
        <source>Exif-Informationen</source>
        <translation>Exif information</translation>
    </message>
    <message>
        <source>HDR-Histogramm</source>
        <translation>HDR histogram</translation>
    </message>
    <message>
        <source>Informationen</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Der Übergabeordner kann nicht sicher benutzt werden: %1</source>
        <translation>The hand-off folder cannot be used safely: %1</translation>
    </message>
    <message>
        <source>App konnte nicht gestartet werden.</source>
        <translation>The application could not be started.</translation>
    </message>
    <message>
        <source>Erstellt mit</source>
        <translation>Made with</translation>
    </message>
    <message>
        <source>Es steht nicht genügend Arbeitsspeicher zur Verfügung.</source>
        <translation>There is not enough memory available.</translation>
    </message>
    <message>
        <source>Speicherpfad auswählen</source>
        <translation>Choose the target folder</translation>
    </message>
    <message>
        <source>Keine Tiefenkarte vorhanden.</source>
        <translation>There is no depth map.</translation>
    </message>
    <message>
        <source>Tiefenkarte speichern</source>
        <translation>Save depth map</translation>
    </message>
    <message>
        <source>Tiefenkarte wird gespeichert</source>
        <translation>Saving the depth map</translation>
    </message>
    <message>
        <source>Nicht genug RAM zum Speichern verfügbar.</source>
        <translation>Not enough memory to save.</translation>
    </message>
    <message>
        <source>HDR-Operator</source>
        <translation>HDR operator</translation>
    </message>
    <message>
        <source>Presets</source>
        <translation>Presets</translation>
    </message>
</context>
<context>
    <name>HDROperatorDockWidget</name>
    <message>
        <source>+</source>
        <translation>+</translation>
    </message>
    <message>
        <source>-</source>
        <translation>-</translation>
    </message>
    <message>
        <source>Depthmap Glättung</source>
        <translation>Depth map smoothing</translation>
    </message>
    <message>
        <source>Glättung</source>
        <translation>Smoothing</translation>
    </message>
    <message>
        <source>HDR Dynamik Slider Tooltip</source>
        <translation>Compression of the dynamic range in the HDR fusion: left more contrast, right more compressed</translation>
    </message>
    <message>
        <source>HDR Preset Detail scharf</source>
        <translation>Detail sharp</translation>
    </message>
    <message>
        <source>HDR Preset Detail sehr weich</source>
        <translation>Detail very soft</translation>
    </message>
    <message>
        <source>HDR Preset Detail weich</source>
        <translation>Detail soft</translation>
    </message>
    <message>
        <source>HDR Preset Durchschintt</source>
        <translation>Average</translation>
    </message>
    <message>
        <source>HDR Preset Entropie normal</source>
        <translation>Entropy normal</translation>
    </message>
    <message>
        <source>HDR Preset Entropie scharf</source>
        <translation>Entropy sharp</translation>
    </message>
    <message>
        <source>HDR Preset Entropie sehr weich</source>
        <translation>Entropy very soft</translation>
    </message>
    <message>
        <source>HDR Preset Entropie weich</source>
        <translation>Entropy soft</translation>
    </message>
    <message>
        <source>HDR Preset Farbmix scharf</source>
        <translation>Colour mix sharp</translation>
    </message>
    <message>
        <source>HDR Preset Farbmix sehr weich</source>
        <translation>Colour mix very soft</translation>
    </message>
    <message>
        <source>HDR Preset Farbmix weich</source>
        <translation>Colour mix soft</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackLin scharf</source>
        <translation>Focus stack linear sharp</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackLin sehr weich</source>
        <translation>Focus stack linear very soft</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackLin weich</source>
        <translation>Focus stack linear soft</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackLum scharf</source>
        <translation>Focus stack luminance sharp</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackLum sehr weich</source>
        <translation>Focus stack luminance very soft</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackLum weich</source>
        <translation>Focus stack luminance soft</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackMCE scharf</source>
        <translation>Focus stack MCE sharp</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackMCE sehr weich</source>
        <translation>Focus stack MCE very soft</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackMCE weich</source>
        <translation>Focus stack MCE soft</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackMSE scharf</source>
        <translation>Focus stack MSE sharp</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackMSE sehr weich</source>
        <translation>Focus stack MSE very soft</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackMSE weich</source>
        <translation>Focus stack MSE soft</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackPMCE scharf</source>
        <translation>Focus stack pyramid MCE sharp</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackPMCE sehr weich</source>
        <translation>Focus stack pyramid MCE very soft</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackPMCE weich</source>
        <translation>Focus stack pyramid MCE soft</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackPMSE scharf</source>
        <translation>Focus stack pyramid MSE sharp</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackPMSE sehr weich</source>
        <translation>Focus stack pyramid MSE very soft</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackPMSE weich</source>
        <translation>Focus stack pyramid MSE soft</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackRGB scharf</source>
        <translation>Focus stack RGB sharp</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackRGB sehr weich</source>
        <translation>Focus stack RGB very soft</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackRGB weich</source>
        <translation>Focus stack RGB soft</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackVar scharf</source>
        <translation>Focus stack variance sharp</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackVar sehr weich</source>
        <translation>Focus stack variance very soft</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackVar weich</source>
        <translation>Focus stack variance soft</translation>
    </message>
    <message>
        <source>HDR Preset LumDist normal</source>
        <translation>Luminance distance normal</translation>
    </message>
    <message>
        <source>HDR Preset LumDist scharf</source>
        <translation>Luminance distance sharp</translation>
    </message>
    <message>
        <source>HDR Preset LumDist sehr weich</source>
        <translation>Luminance distance very soft</translation>
    </message>
    <message>
        <source>HDR Preset LumDist weich</source>
        <translation>Luminance distance soft</translation>
    </message>
    <message>
        <source>HDR Preset LumEntr scharf</source>
        <translation>Luminance entropy sharp</translation>
    </message>
    <message>
        <source>HDR Preset LumEntr sehr weich</source>
        <translation>Luminance entropy very soft</translation>
    </message>
    <message>
        <source>HDR Preset LumEntr weich</source>
        <translation>Luminance entropy soft</translation>
    </message>
    <message>
        <source>HDR Preset LumRGB scharf</source>
        <translation>Luminance RGB sharp</translation>
    </message>
    <message>
        <source>HDR Preset LumRGB sehr weich</source>
        <translation>Luminance RGB very soft</translation>
    </message>
    <message>
        <source>HDR Preset LumRGB weich</source>
        <translation>Luminance RGB soft</translation>
    </message>
    <message>
        <source>HDR Preset Sat scharf</source>
        <translation>Saturation sharp</translation>
    </message>
    <message>
        <source>HDR Preset Sat sehr weich</source>
        <translation>Saturation very soft</translation>
    </message>
    <message>
        <source>HDR Preset Sat weich</source>
        <translation>Saturation soft</translation>
    </message>
    <message>
        <source>HDR Preset absDist normal</source>
        <translation>Absolute distance normal</translation>
    </message>
    <message>
        <source>HDR Preset absDist scharf</source>
        <translation>Absolute distance sharp</translation>
    </message>
    <message>
        <source>HDR Preset absDist sehr weich</source>
        <translation>Absolute distance very soft</translation>
    </message>
    <message>
        <source>HDR Preset absDist weich</source>
        <translation>Absolute distance soft</translation>
    </message>
    <message>
        <source>HDR Preset linLum scharf</source>
        <translation>Linear luminance sharp</translation>
    </message>
    <message>
        <source>HDR Preset linLum sehr weich</source>
        <translation>Linear luminance very soft</translation>
    </message>
    <message>
        <source>HDR Preset linLum weich</source>
        <translation>Linear luminance soft</translation>
    </message>
    <message>
        <source>HDR Preset logLum scharf</source>
        <translation>Logarithmic luminance sharp</translation>
    </message>
    <message>
        <source>HDR Preset logLum sehr weich</source>
        <translation>Logarithmic luminance very soft</translation>
    </message>
    <message>
        <source>HDR Preset logLum weich</source>
        <translation>Logarithmic luminance soft</translation>
    </message>
    <message>
        <source>HDR Preset quadLum scharf</source>
        <translation>Quadratic luminance sharp</translation>
    </message>
    <message>
        <source>HDR Preset quadLum sehr weich</source>
        <translation>Quadratic luminance very soft</translation>
    </message>
    <message>
        <source>HDR Preset quadLum weich</source>
        <translation>Quadratic luminance soft</translation>
    </message>
    <message>
        <source>HDR Preset rgbDetail scharf</source>
        <translation>RGB detail sharp</translation>
    </message>
    <message>
        <source>HDR Preset rgbDetail sehr weich</source>
        <translation>RGB detail very soft</translation>
    </message>
    <message>
        <source>HDR Preset rgbDetail weich</source>
        <translation>RGB detail soft</translation>
    </message>
    <message>
        <source>HDR Presets</source>
        <translation>HDR presets</translation>
    </message>
    <message>
        <source>HDR-Dynamik</source>
        <translation>HDR dynamic range</translation>
    </message>
    <message>
        <source>HDROperatorDockWidget lumivex</source>
        <translation>&lt;h3&gt;HDR operator&lt;/h3&gt;&lt;p&gt;Choose here how the exposures are fused into the HDR image. Each preset combines a fusion method with a matching smoothing: sharp keeps fine detail, soft avoids visible transitions and halos.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Hochkontrast</source>
        <translation>High contrast</translation>
    </message>
    <message>
        <source>Kompression</source>
        <translation>Compression</translation>
    </message>
    <message>
        <source>Komprimiert</source>
        <translation>Compressed</translation>
    </message>
    <message>
        <source>Optimal</source>
        <translation>Optimal</translation>
    </message>
    <message>
        <source>Tiefenkarte</source>
        <translation>Depth map</translation>
    </message>
    <message>
        <source>Tiefenkarte invertieren</source>
        <translation>Invert depth map</translation>
    </message>
    <message>
        <source>Tiefenkarte speichern</source>
        <translation>Save depth map</translation>
    </message>
    <message>
        <source>Tooltip Depthmap Smooth Slider</source>
        <translation>Smoothing of the depth map</translation>
    </message>
    <message>
        <source>Tooltip Sigmoid Hochkontrast Button</source>
        <translation>Set the compression automatically for a high-contrast result</translation>
    </message>
    <message>
        <source>Tooltip Sigmoid Komprimiert Button</source>
        <translation>Set the compression automatically for a strongly compressed, bright result</translation>
    </message>
    <message>
        <source>Tooltip Sigmoid Optimal Button</source>
        <translation>Set the compression automatically from the mean brightness of the result</translation>
    </message>
    <message>
        <source>individuell</source>
        <translation>custom</translation>
    </message>
    <message>
        <source>normal</source>
        <translation>normal</translation>
    </message>
    <message>
        <source>scharf</source>
        <translation>sharp</translation>
    </message>
    <message>
        <source>sehr weich</source>
        <translation>very soft</translation>
    </message>
    <message>
        <source>tooltip HDR Dynamik Label Tooltip</source>
        <translation>Curve of the dynamic-range compression: from dark (left) to bright (right)</translation>
    </message>
    <message>
        <source>tooltip HDR Dynamik anzeige</source>
        <translation>Dynamic range of the HDR image as a ratio and in stops (EV)</translation>
    </message>
    <message>
        <source>tooltip HDRPreset Groupbox</source>
        <translation>The method that fuses the exposures into the HDR image</translation>
    </message>
    <message>
        <source>tooltip HDRSmoothing Groupbox</source>
        <translation>Smoothing of the transitions between the exposures</translation>
    </message>
    <message>
        <source>tooltip Tiefenkarte invertieren checkbox</source>
        <translation>Swap near and far in the depth map</translation>
    </message>
    <message>
        <source>tooltip Tiefenkarte speichern button</source>
        <translation>Save the depth map as an image</translation>
    </message>
    <message>
        <source>weich</source>
        <translation>soft</translation>
    </message>
</context>
<context>
    <name>HDROptionsWindow</name>
    <message>
        <source>Deutsch</source>
        <translation>German</translation>
    </message>
    <message>
        <source>English GB</source>
        <translation>English (GB)</translation>
    </message>
    <message>
        <source>English US</source>
        <translation>English (US)</translation>
    </message>
    <message>
        <source>French</source>
        <translation>French</translation>
    </message>
    <message>
        <source>Italian</source>
        <translation>Italian</translation>
    </message>
    <message>
        <source>Espanol</source>
        <translation>Spanish</translation>
    </message>
    <message>
        <source>Einstellungen</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Programm</source>
        <translation>Program</translation>
    </message>
    <message>
        <source>Berechnung</source>
        <translation>Calculation</translation>
    </message>
    <message>
        <source>Einstellungen auf Standardwerte zurücksetzen</source>
        <translation>Reset the settings of this page to their defaults</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Einstellungen Bestätigen</source>
        <translation>Apply the settings and close the window</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Einstellungen Abbrechen</source>
        <translation>Discard the changes and close the window</translation>
    </message>
    <message>
        <source>Übernehmen</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>Einstellungen Übernehmen</source>
        <translation>Apply the settings and keep the window open</translation>
    </message>
    <message>
        <source>Standardpfade</source>
        <translation>Default folders</translation>
    </message>
    <message>
        <source>Projekte</source>
        <translation>Projects</translation>
    </message>
    <message>
        <source>Belichtungsreihen</source>
        <translation>Exposure series</translation>
    </message>
    <message>
        <source>Einzelbilder</source>
        <translation>Single images</translation>
    </message>
    <message>
        <source>Ergebnisbilder</source>
        <translation>Result images</translation>
    </message>
    <message>
        <source>PATH_PROJECTS</source>
        <translation>Folder in which opening and saving projects starts</translation>
    </message>
    <message>
        <source>PATH_SERIES</source>
        <translation>Folder in which loading exposure series starts</translation>
    </message>
    <message>
        <source>PATH_SINGLE</source>
        <translation>Folder in which loading single images starts</translation>
    </message>
    <message>
        <source>PATH_RESULTS</source>
        <translation>Folder in which saving result images starts</translation>
    </message>
    <message>
        <source>Pfad auswählen</source>
        <translation>Choose folder</translation>
    </message>
    <message>
        <source>Externe Programme</source>
        <translation>External programs</translation>
    </message>
    <message>
        <source>Bildbearbeiter</source>
        <translation>Image editor</translation>
    </message>
    <message>
        <source>Standardprogramm</source>
        <translation>Default program</translation>
    </message>
    <message>
        <source>Bildbearbeiter 2</source>
        <translation>Image editor 2</translation>
    </message>
    <message>
        <source>Bildbearbeiter 3</source>
        <translation>Image editor 3</translation>
    </message>
    <message>
        <source>EXTERNAL_EDITOR</source>
        <translation>Program that opens a result image: an executable file or a program name</translation>
    </message>
    <message>
        <source>Programm auswählen</source>
        <translation>Choose program</translation>
    </message>
    <message>
        <source>Gamma Optionen</source>
        <translation>Gamma options</translation>
    </message>
    <message>
        <source>HDR Gamma-Wert</source>
        <translation>HDR gamma value</translation>
    </message>
    <message>
        <source>Tooltip HDR Gamma Wert</source>
        <translation>Gamma value for loading and saving floating-point images</translation>
    </message>
    <message>
        <source>Wird nur bei Fließkomma-Bildformaten genutzt.</source>
        <translation>Used for floating-point image formats only.</translation>
    </message>
    <message>
        <source>HDR-Gamma in der Bildanzeige</source>
        <translation>HDR gamma in the image view</translation>
    </message>
    <message>
        <source>Tooltip HDR Gamma View</source>
        <translation>Show the image view with the HDR gamma</translation>
    </message>
    <message>
        <source>Sprache</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Anzeigesprache</source>
        <translation>Display language</translation>
    </message>
    <message>
        <source>Erfordert einen Neustart des Programms.</source>
        <translation>Takes effect when the program starts again.</translation>
    </message>
    <message>
        <source>GPU Beschleunigung</source>
        <translation>GPU acceleration</translation>
    </message>
    <message>
        <source>OpenCL verwenden</source>
        <translation>Use OpenCL</translation>
    </message>
    <message>
        <source>OpenCL aktivieren/deaktivieren</source>
        <translation>Switch OpenCL on or off</translation>
    </message>
    <message>
        <source>Kompression</source>
        <translation>Compression</translation>
    </message>
    <message>
        <source>Stufe</source>
        <translation>Level</translation>
    </message>
    <message>
        <source>aus</source>
        <translation>off</translation>
    </message>
    <message>
        <source>hoch</source>
        <translation>high</translation>
    </message>
    <message>
        <source>Tooltip Projektkompression</source>
        <translation>How strongly the image data of a project are packed when it is saved</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Undo-Speicherung</source>
        <translation>Undo storage</translation>
    </message>
    <message>
        <source>Undo Stufen in Projekten speichern</source>
        <translation>Store undo points in projects</translation>
    </message>
    <message>
        <source>Tooltip Undo in Projekten speichern</source>
        <translation>Save the undo points with the project</translation>
    </message>
    <message>
        <source>maximale Undo-Stufen</source>
        <translation>Maximum undo points</translation>
    </message>
    <message>
        <source>beliebig</source>
        <translation>unlimited</translation>
    </message>
    <message>
        <source>tooltip m_pUndoMaxAmount</source>
        <translation>How many undo points are kept at most</translation>
    </message>
    <message>
        <source>minimal freier Speicherplatz</source>
        <translation>Minimum free disk space</translation>
    </message>
    <message>
        <source>Tooltip UndoSafetySpeicherplatz</source>
        <translation>Older undo points are deleted when less disk space is free</translation>
    </message>
    <message>
        <source>Groupbox Previewgröße</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>Previewgröße</source>
        <translation>Preview size</translation>
    </message>
    <message>
        <source>1:1 Pixel</source>
        <translation>1:1 pixel</translation>
    </message>
    <message>
        <source>Tooltip 1:1 Pixel</source>
        <translation>Compute the preview at one image pixel per screen pixel</translation>
    </message>
    <message>
        <source>schnell</source>
        <translation>fast</translation>
    </message>
    <message>
        <source>Tooltip Schnell</source>
        <translation>Compute the preview at half the resolution of the image view</translation>
    </message>
    <message>
        <source>Megapixel</source>
        <translation>megapixels</translation>
    </message>
    <message>
        <source>Tooltip HDR Preview Size</source>
        <translation>Size of the preview on which every setting is computed</translation>
    </message>
    <message>
        <source>Qualität</source>
        <translation>Quality</translation>
    </message>
    <message>
        <source>Warnung CalcOptions</source>
        <translation>These settings affect the quality and speed of every calculation. When in doubt, keep the default values.</translation>
    </message>
    <message>
        <source>Berechnungsqualität</source>
        <translation>Calculation quality</translation>
    </message>
    <message>
        <source>minimal</source>
        <translation>minimal</translation>
    </message>
    <message>
        <source>maximal</source>
        <translation>maximal</translation>
    </message>
    <message>
        <source>m_pQualitySlider</source>
        <translation>Size of the filter kernels: higher values are more precise and slower</translation>
    </message>
    <message>
        <source>Superquadrik</source>
        <translation>Superquadric</translation>
    </message>
    <message>
        <source>klein</source>
        <translation>small</translation>
    </message>
    <message>
        <source>groß</source>
        <translation>large</translation>
    </message>
    <message>
        <source>m_pSuperquadricSlider</source>
        <translation>Shape of the filter kernels, from round to square</translation>
    </message>
    <message>
        <source>m_pQualityLabel</source>
        <translation>Size and shape of the filter kernel</translation>
    </message>
    <message>
        <source>Abtastrate</source>
        <translation>Sample rate</translation>
    </message>
    <message>
        <source>niedrig</source>
        <translation>low</translation>
    </message>
    <message>
        <source>normal</source>
        <translation>normal</translation>
    </message>
    <message>
        <source>ultra</source>
        <translation>ultra</translation>
    </message>
    <message>
        <source>Tooltip Abtastrate low</source>
        <translation>How densely the filter kernels are sampled: higher is more precise and slower</translation>
    </message>
    <message>
        <source>Luminanzkonvertierung</source>
        <translation>Luminance conversion</translation>
    </message>
    <message>
        <source>Voreinstellungen</source>
        <translation>Presets</translation>
    </message>
    <message>
        <source>Benutzer</source>
        <translation>User</translation>
    </message>
    <message>
        <source>Linear</source>
        <translation>Linear</translation>
    </message>
    <message>
        <source>SDTV</source>
        <translation>SDTV</translation>
    </message>
    <message>
        <source>HDTV</source>
        <translation>HDTV</translation>
    </message>
    <message>
        <source>m_pLuminancePresetsComboBox</source>
        <translation>Channel weights of a standard</translation>
    </message>
    <message>
        <source>Rot</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>m_pLuminanceRSlider</source>
        <translation>Share of red in the brightness</translation>
    </message>
    <message>
        <source>Grün</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>m_pLuminanceGSlider</source>
        <translation>Share of green in the brightness</translation>
    </message>
    <message>
        <source>Blau</source>
        <translation>Blue</translation>
    </message>
    <message>
        <source>m_pLuminanceBSlider</source>
        <translation>Share of blue in the brightness</translation>
    </message>
    <message>
        <source>m_pLuminanceColorLabel</source>
        <translation>The colour circle</translation>
    </message>
    <message>
        <source>m_pLuminanceGrayLabel</source>
        <translation>The brightness of the colour circle with these weights</translation>
    </message>
    <message>
        <source>HDROptionsWindow Programm lumivex</source>
        <translation>&lt;h3&gt;Program&lt;/h3&gt;&lt;p&gt;Set the folders in which the file dialogs start, and the programs to which you can hand a result image. A program is an executable file or a program name such as &lt;i&gt;xdg-open&lt;/i&gt;, which opens images with the desktop&apos;s default program.&lt;/p&gt;&lt;p&gt;The display language takes effect the next time the program starts.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>HDROptionsWindow Compression</source>
        <translation>&lt;h3&gt;Projects&lt;/h3&gt;&lt;p&gt;The compression level decides how strongly the image data of a project are packed when it is saved. Higher levels save space but take longer.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>HDROptionsWindow Previewsize</source>
        <translation>&lt;h3&gt;Preview size&lt;/h3&gt;&lt;p&gt;Every setting is first computed on a reduced preview. A larger preview shows more detail but responds more slowly. &lt;b&gt;1:1 pixel&lt;/b&gt; sizes the preview to the image view, &lt;b&gt;fast&lt;/b&gt; uses half that resolution.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>HDROptionsWindow Berechnung lumivex</source>
        <translation>&lt;h3&gt;Calculation&lt;/h3&gt;&lt;p&gt;&lt;b&gt;Calculation quality&lt;/b&gt; and &lt;b&gt;superquadric&lt;/b&gt; set the size and shape of the filter kernels of the local operators, the &lt;b&gt;sample rate&lt;/b&gt; their density. Higher values give finer results and take longer.&lt;/p&gt;&lt;p&gt;The &lt;b&gt;luminance conversion&lt;/b&gt; sets how much red, green and blue contribute to the brightness of a pixel.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Warnung</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>BundleIndentifier nicht gefuneden</source>
        <translation>The chosen file is not an executable program.</translation>
    </message>
    <message>
        <source>Die Einstellungen konnten nicht gespeichert werden: %1</source>
        <translation>The settings could not be saved: %1</translation>
    </message>
</context>
<context>
    <name>HDRPanoramaView</name>
    <message>
        <source>Panorama Viewer</source>
        <translation>Panorama Viewer</translation>
    </message>
    <message>
        <source>Panorama Reset</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>tooltip Panoramaview reset</source>
        <translation>Return the view direction and zoom to the start</translation>
    </message>
    <message>
        <source>tooltip Panoramaview MouseVertikalInvert</source>
        <translation>Invert the vertical mouse direction</translation>
    </message>
    <message>
        <source>tooltip Panoramaview MouseHorizontalInvert</source>
        <translation>Invert the horizontal mouse direction</translation>
    </message>
    <message>
        <source>Panorama Automatic</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>tooltip Panoramaview automatic</source>
        <translation>Automatic tour: the view wanders by itself; dragging or the wheel ends it</translation>
    </message>
    <message>
        <source>Panorama Exit</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>tooltip Panoramaview verlassen</source>
        <translation>Close the panorama viewer</translation>
    </message>
    <message>
        <source>Warnung</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Die Einstellungen konnten nicht gespeichert werden: %1</source>
        <translation>The settings could not be saved: %1</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>HDRPositionPicker</name>
    <message>
        <source>Pipette</source>
        <translation>Pick a colour from the preview</translation>
    </message>
    <message>
        <source>eSplGradation custom</source>
        <translation>custom</translation>
    </message>
    <message>
        <source>eSplGradation linear</source>
        <translation>linear</translation>
    </message>
    <message>
        <source>eSplGradation over exposed</source>
        <translation>over-exposed</translation>
    </message>
    <message>
        <source>eSplGradation under exposed</source>
        <translation>under-exposed</translation>
    </message>
    <message>
        <source>eSplGradation compress</source>
        <translation>compress</translation>
    </message>
    <message>
        <source>eSplGradation expand</source>
        <translation>expand</translation>
    </message>
    <message>
        <source>eSplGradation compress intense</source>
        <translation>compress strongly</translation>
    </message>
    <message>
        <source>eSplGradation overexpand</source>
        <translation>over-expand</translation>
    </message>
    <message>
        <source>eSplGradation bright light</source>
        <translation>bright light</translation>
    </message>
    <message>
        <source>eSplGradation deep shadow</source>
        <translation>deep shadows</translation>
    </message>
    <message>
        <source>eSplGradation Artwork</source>
        <translation>artwork</translation>
    </message>
    <message>
        <source>eSplEffect custom</source>
        <translation>custom</translation>
    </message>
    <message>
        <source>eSplEffect flat</source>
        <translation>even</translation>
    </message>
    <message>
        <source>eSplEffect lights</source>
        <translation>highlights</translation>
    </message>
    <message>
        <source>eSplEffect midtones</source>
        <translation>midtones</translation>
    </message>
    <message>
        <source>eSplEffect shadows</source>
        <translation>shadows</translation>
    </message>
    <message>
        <source>eSplEffect extremes</source>
        <translation>extremes</translation>
    </message>
    <message>
        <source>eSplEffect constant low</source>
        <translation>constant low</translation>
    </message>
    <message>
        <source>eSplEffect cut extremes</source>
        <translation>spare extremes</translation>
    </message>
    <message>
        <source>eSplEffect protect light</source>
        <translation>protect highlights</translation>
    </message>
    <message>
        <source>eSplEffect protect shadow</source>
        <translation>protect shadows</translation>
    </message>
    <message>
        <source>eSplEffect protect light&amp;shadow</source>
        <translation>protect highlights and shadows</translation>
    </message>
</context>
<context>
    <name>HDRPostProcessListWidget</name>
    <message>
        <source>m_pFilterAllAct</source>
        <translation>Show all filter types</translation>
    </message>
    <message>
        <source>m_pFilterEnhanceAct</source>
        <translation>Enhance</translation>
    </message>
    <message>
        <source>m_pFilterGeometryAct</source>
        <translation>Geometry</translation>
    </message>
    <message>
        <source>m_pFilterExposureAct</source>
        <translation>Exposure</translation>
    </message>
    <message>
        <source>m_pFilterColorizeAct</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>m_pFilterSmoothAct</source>
        <translation>Smooth</translation>
    </message>
    <message>
        <source>m_pFilterArtisticAct</source>
        <translation>Artistic</translation>
    </message>
    <message>
        <source>m_pFilterPanoramaAct</source>
        <translation>Panorama-safe only</translation>
    </message>
    <message>
        <source>m_pFilterNoneAct</source>
        <translation>Hide all filter types</translation>
    </message>
</context>
<context>
    <name>HDRPostProcessingDockWidget</name>
    <message>
        <source>Titel:</source>
        <translation>Title:</translation>
    </message>
    <message>
        <source>Autor:</source>
        <translation>Author:</translation>
    </message>
    <message>
        <source>Jpg-Qualität</source>
        <translation>JPEG quality</translation>
    </message>
    <message>
        <source>Web-Animation speichern</source>
        <translation>Save web animation</translation>
    </message>
    <message>
        <source>Blendmode Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Blendmode Aufhellen</source>
        <translation>Lighten</translation>
    </message>
    <message>
        <source>Blendmode Abdunkeln</source>
        <translation>Darken</translation>
    </message>
    <message>
        <source>Blendmode Durchschnitt</source>
        <translation>Average</translation>
    </message>
    <message>
        <source>Blendmode Multiplizieren</source>
        <translation>Multiply</translation>
    </message>
    <message>
        <source>Blendmode Länge</source>
        <translation>Soft multiply</translation>
    </message>
    <message>
        <source>Blendmode Doppelte Stärke</source>
        <translation>Double effect</translation>
    </message>
    <message>
        <source>Blendmode Kubisch</source>
        <translation>Cubic contrast</translation>
    </message>
    <message>
        <source>Blendmode Euklidisch</source>
        <translation>Soft lighten</translation>
    </message>
    <message>
        <source>Blendmode Überblenden</source>
        <translation>Overlay</translation>
    </message>
    <message>
        <source>Blendmode Differenz</source>
        <translation>Difference</translation>
    </message>
    <message>
        <source>Blendmode Negation</source>
        <translation>Negation</translation>
    </message>
    <message>
        <source>Blendmode Ausschluss</source>
        <translation>Exclusion</translation>
    </message>
    <message>
        <source>Blendmode Invers Addieren</source>
        <translation>Inverse add</translation>
    </message>
    <message>
        <source>Blendmode Negativ Multiplizieren</source>
        <translation>Screen</translation>
    </message>
    <message>
        <source>Blendmode Weiches Licht</source>
        <translation>Soft light</translation>
    </message>
    <message>
        <source>Blendmode Hartes Licht</source>
        <translation>Hard light</translation>
    </message>
    <message>
        <source>Blendmode Lineares Licht</source>
        <translation>Linear light</translation>
    </message>
    <message>
        <source>Blendmode Strahlendes Licht</source>
        <translation>Vivid light</translation>
    </message>
    <message>
        <source>Blendmode Lichtpunkt</source>
        <translation>Pin light</translation>
    </message>
    <message>
        <source>Blendmode Farbig abwedeln</source>
        <translation>Colour dodge</translation>
    </message>
    <message>
        <source>Blendmode Farbig nachbelichten</source>
        <translation>Colour burn</translation>
    </message>
    <message>
        <source>Blendmode Linear abwedeln</source>
        <translation>Linear dodge</translation>
    </message>
    <message>
        <source>Blendmode Linear nachbelichten</source>
        <translation>Linear burn</translation>
    </message>
    <message>
        <source>Blendmode Reflektieren</source>
        <translation>Reflect</translation>
    </message>
    <message>
        <source>Blendmode Leuchten</source>
        <translation>Glow</translation>
    </message>
    <message>
        <source>Blendmode Farbe expandieren</source>
        <translation>Expand colour</translation>
    </message>
    <message>
        <source>Blendmode Farbe komprimieren</source>
        <translation>Compress colour</translation>
    </message>
    <message>
        <source>Blendmode Harte Mischung</source>
        <translation>Hard mix</translation>
    </message>
    <message>
        <source>Blendmode Quadratische Division</source>
        <translation>Quadratic division</translation>
    </message>
    <message>
        <source>Blendmode Phoenix</source>
        <translation>Phoenix</translation>
    </message>
    <message>
        <source>Blendmode Division</source>
        <translation>Divide</translation>
    </message>
    <message>
        <source>Tonemapping</source>
        <translation>Tone mapping</translation>
    </message>
    <message>
        <source>tooltip Tonemapping groupBox</source>
        <translation>Tone-mapping operators</translation>
    </message>
    <message>
        <source>Post-Processing Filter</source>
        <translation>Post-processing filters</translation>
    </message>
    <message>
        <source>tooltip Post-Processing Filter groupBox</source>
        <translation>Double-click adds a filter to the selected filters; the context menu filters by type.</translation>
    </message>
    <message>
        <source>Grauwandlung</source>
        <translation>Greyscale conversion</translation>
    </message>
    <message>
        <source>Farbton</source>
        <translation>Hue</translation>
    </message>
    <message>
        <source>-180°</source>
        <translation>-180°</translation>
    </message>
    <message>
        <source>180°</source>
        <translation>180°</translation>
    </message>
    <message>
        <source>Intensität</source>
        <translation>Intensity</translation>
    </message>
    <message>
        <source>schwach</source>
        <translation>weak</translation>
    </message>
    <message>
        <source>stark</source>
        <translation>strong</translation>
    </message>
    <message>
        <source>Filmtyp</source>
        <translation>Film type</translation>
    </message>
    <message>
        <source>Tooltip Filmtyp</source>
        <translation>Film type that gives the picture the look of a photographic film</translation>
    </message>
    <message>
        <source>Tooltip Filmtyp PreButton</source>
        <translation>Apply the film type before the selected filters</translation>
    </message>
    <message>
        <source>Tooltip Filmtyp PostButton</source>
        <translation>Apply the film type after the selected filters</translation>
    </message>
    <message>
        <source>tooltip Filmtype Intensity Slider</source>
        <translation>Strength of the film type</translation>
    </message>
    <message>
        <source>Körnung</source>
        <translation>Grain</translation>
    </message>
    <message>
        <source>gering</source>
        <translation>low</translation>
    </message>
    <message>
        <source>hoch</source>
        <translation>high</translation>
    </message>
    <message>
        <source>tooltip Filmtype Graining Slider</source>
        <translation>Strength of the film grain</translation>
    </message>
    <message>
        <source>Lichtwirkung</source>
        <translation>Light effect</translation>
    </message>
    <message>
        <source>Tageslicht</source>
        <translation>Daylight</translation>
    </message>
    <message>
        <source>Dämmerung</source>
        <translation>Dusk</translation>
    </message>
    <message>
        <source>Nacht</source>
        <translation>Night</translation>
    </message>
    <message>
        <source>Struktur-Assistent</source>
        <translation>Structure assistant</translation>
    </message>
    <message>
        <source>Glättung</source>
        <translation>Smoothing</translation>
    </message>
    <message>
        <source>Bildstimmungs-Assistent</source>
        <translation>Mood assistant</translation>
    </message>
    <message>
        <source>Optimierungs-Assistent</source>
        <translation>Optimisation assistant</translation>
    </message>
    <message>
        <source>Kratzer/Sensorverunreinigungen</source>
        <translation>Scratches/sensor dust</translation>
    </message>
    <message>
        <source>Web-Animationen</source>
        <translation>Web animations</translation>
    </message>
    <message>
        <source>gewählte Filter</source>
        <translation>Selected filters</translation>
    </message>
    <message>
        <source>tooltip gewählte Filter groupBox</source>
        <translation>Filters apply from top to bottom; the check boxes switch them on and off, dragging reorders them.</translation>
    </message>
    <message>
        <source>360 Grad Panorama mode</source>
        <translation>360° panorama mode</translation>
    </message>
    <message>
        <source>tooltip 360 Grad Panorama mode</source>
        <translation>Filters work across the left and right edges of the picture</translation>
    </message>
    <message>
        <source>Deckkraft</source>
        <translation>Opacity</translation>
    </message>
    <message>
        <source>Tooltip LayerEffekt SpinBox</source>
        <translation>Opacity of the layer in per cent</translation>
    </message>
    <message>
        <source>Tooltip GeometryButton Select</source>
        <translation>Edit masks</translation>
    </message>
    <message>
        <source>Tooltip GeometryButtonCopy Select</source>
        <translation>Copy masks</translation>
    </message>
    <message>
        <source>Tooltip GeometryButtonPaste Select</source>
        <translation>Paste masks</translation>
    </message>
    <message>
        <source>Tooltip GeometryButtonClear Select</source>
        <translation>Delete all masks</translation>
    </message>
    <message>
        <source>Tooltip SliderButton Texture Select</source>
        <translation>Choose a texture</translation>
    </message>
    <message>
        <source>Tooltip SliderButton Realtime Preview</source>
        <translation>Real-time preview: the slider sweeps its range once (Esc stops)</translation>
    </message>
    <message>
        <source>keine Parameter verfügbar</source>
        <translation>no parameters available</translation>
    </message>
    <message>
        <source>HDRPostProcessingDockWidget lumivex VERSION_PRO</source>
        <translation>&lt;b&gt;Expert mode&lt;/b&gt;&lt;br&gt;Build and tune the filter chain of the chosen style here. </translation>
    </message>
    <message>
        <source>HDRPostProcessingDockWidget RealtimeAnimMode</source>
        <translation>The play button beside a slider shows its effect in real time. </translation>
    </message>
    <message>
        <source>HDRPostProcessingDockWidget PanoramaMode</source>
        <translation>For 360° panoramas switch on panorama mode.</translation>
    </message>
    <message>
        <source>Operator entfernen</source>
        <translation>Remove operator</translation>
    </message>
    <message>
        <source>Soll der Operator &quot;%1&quot; aus der Liste entfernt werden?</source>
        <translation>Remove the operator &quot;%1&quot; from the list?</translation>
    </message>
    <message>
        <source>Ja</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Nein</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Alle Operatoren entfernen</source>
        <translation>Remove all operators</translation>
    </message>
    <message>
        <source>Sollen alle Operatoren aus der Liste entfernt werden?</source>
        <translation>Remove all operators from the list?</translation>
    </message>
    <message>
        <source>Expertenmodus</source>
        <translation>Expert mode</translation>
    </message>
    <message>
        <source>Layer Effekt: </source>
        <translation>Layer effect: </translation>
    </message>
    <message>
        <source>Titel Echtzeit-Wiedergabe</source>
        <translation>Real-time preview</translation>
    </message>
    <message>
        <source>Message Echtzeit-Wiedergabe nur im Preview Mode</source>
        <translation>The real-time preview runs only in preview mode. Switch preview mode on?</translation>
    </message>
    <message>
        <source>Geometrien einfügen</source>
        <translation>Paste geometries</translation>
    </message>
    <message>
        <source>Alle Geometrien löschen</source>
        <translation>Delete all geometries</translation>
    </message>
    <message>
        <source>Sollen alle Geometrien aus dem Zwischenspeicher eingefügt werden?</source>
        <translation>Paste all geometries from the clipboard?</translation>
    </message>
    <message>
        <source>Sollen alle Geometrien für diesen Effekt entfernt werden?</source>
        <translation>Remove all geometries of this effect?</translation>
    </message>
</context>
<context>
    <name>HDRPresetCombineWindow</name>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Addieren</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>HDRPresetCombineWindow Addition</source>
        <translation>&lt;h3&gt;Combine presets&lt;/h3&gt;&lt;p&gt;The operators of preset A run first, then those of preset B. The result is saved as a new user preset.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Kombinieren</source>
        <translation>Combine</translation>
    </message>
    <message>
        <source>Kombinieren abbrechen</source>
        <translation>Cancel combining</translation>
    </message>
    <message>
        <source>Kombinieren ausführen</source>
        <translation>Combine the presets</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>PostProcessing Preset A</source>
        <translation>First preset (runs first)</translation>
    </message>
    <message>
        <source>PostProcessing Preset B</source>
        <translation>Second preset (runs afterwards)</translation>
    </message>
    <message>
        <source>Vergeben sie einen Namen:</source>
        <translation>Enter a name:</translation>
    </message>
    <message>
        <source>Voreinstellungen kombinieren</source>
        <translation>Combine presets</translation>
    </message>
    <message>
        <source>tooltip Preset Groupbox A</source>
        <translation>Preview of the first preset</translation>
    </message>
    <message>
        <source>tooltip Preset Groupbox B</source>
        <translation>Preview of the second preset</translation>
    </message>
    <message>
        <source>tooltip Preset Groupbox Result</source>
        <translation>Preview of the combined preset</translation>
    </message>
</context>
<context>
    <name>HDRPresetGroupBox</name>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Die Voreinstellung konnte nicht geschrieben werden: %1</source>
        <translation>The preset could not be written: %1</translation>
    </message>
    <message>
        <source>Duplizieren</source>
        <translation>Duplicate</translation>
    </message>
    <message>
        <source>Einstellungen speichern</source>
        <translation>Save settings</translation>
    </message>
    <message>
        <source>Ja</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Kopie</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Löschen</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Nach oben schieben</source>
        <translation>Move up</translation>
    </message>
    <message>
        <source>Nach unten schieben</source>
        <translation>Move down</translation>
    </message>
    <message>
        <source>Nein</source>
        <translation>No</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Soll die Voreinstellung &quot;%1&quot; wirklich gelöscht werden?</source>
        <translation>Do you really want to delete the preset &quot;%1&quot;?</translation>
    </message>
    <message>
        <source>Soll die Voreinstellung &quot;%1&quot; wirklich zurückgesetzt werden?</source>
        <translation>Do you really want to reset the preset &quot;%1&quot;?</translation>
    </message>
    <message>
        <source>Umbenennen</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>Vergeben sie einen Namen:</source>
        <translation>Enter a name:</translation>
    </message>
    <message>
        <source>Vergeben sie einen neuen Namen:</source>
        <translation>Enter a new name:</translation>
    </message>
    <message>
        <source>Voreinstellung kopieren</source>
        <translation>Copy preset</translation>
    </message>
    <message>
        <source>Voreinstellung löschen</source>
        <translation>Delete preset</translation>
    </message>
    <message>
        <source>Voreinstellung speichern</source>
        <translation>Save preset</translation>
    </message>
    <message>
        <source>Voreinstellung umbenennen</source>
        <translation>Rename preset</translation>
    </message>
    <message>
        <source>Voreinstellung zurücksetzen</source>
        <translation>Reset preset</translation>
    </message>
    <message>
        <source>Zurücksetzen</source>
        <translation>Reset</translation>
    </message>
</context>
<context>
    <name>HDRPresetsDockWidget</name>
    <message>
        <source>Alle</source>
        <translation>All</translation>
    </message>
    <message>
        <source>Architektur</source>
        <translation>Architecture</translation>
    </message>
    <message>
        <source>Benutzer</source>
        <translation>User</translation>
    </message>
    <message>
        <source>Bereits vorhandene Presets:</source>
        <translation>Presets already present:</translation>
    </message>
    <message>
        <source>Critical error</source>
        <translation>Critical error</translation>
    </message>
    <message>
        <source>Fehlerhafte Presets:</source>
        <translation>Faulty presets:</translation>
    </message>
    <message>
        <source>HDRPresetsDockWidget PresetCombiner</source>
        <translation>&lt;p&gt;&lt;b&gt;Combine&lt;/b&gt; joins two presets into a new user preset.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>HDRPresetsDockWidget PresetImportExport</source>
        <translation>&lt;p&gt;&lt;b&gt;Preset Import&lt;/b&gt; and &lt;b&gt;Preset Export&lt;/b&gt; exchange presets as files with other installations.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>HDRPresetsDockWidget lumivex</source>
        <translation>&lt;h3&gt;Presets&lt;/h3&gt;&lt;p&gt;Each tile shows a post-processing preset applied to your image. A click applies it; the buttons copy, save, rename or delete it. The categories at the top filter the tiles.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Importierte Presets:</source>
        <translation>Imported presets:</translation>
    </message>
    <message>
        <source>Inkompatible Presets:</source>
        <translation>Incompatible presets:</translation>
    </message>
    <message>
        <source>Kombinieren</source>
        <translation>Combine</translation>
    </message>
    <message>
        <source>Künstlerisch</source>
        <translation>Artistic</translation>
    </message>
    <message>
        <source>Landschaft</source>
        <translation>Landscape</translation>
    </message>
    <message>
        <source>MyPreset</source>
        <translation>MyPreset</translation>
    </message>
    <message>
        <source>Natürlich</source>
        <translation>Natural</translation>
    </message>
    <message>
        <source>No post-processing presets found! Please reinstall...</source>
        <translation>No post-processing presets found! Please reinstall the program.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Portrait</source>
        <translation>Portrait</translation>
    </message>
    <message>
        <source>Preset Export</source>
        <translation>Preset Export</translation>
    </message>
    <message>
        <source>Preset Import</source>
        <translation>Preset Import</translation>
    </message>
    <message>
        <source>Preset Import Messagetitle</source>
        <translation>Import presets</translation>
    </message>
    <message>
        <source>Preset exportieren</source>
        <translation>Export preset</translation>
    </message>
    <message>
        <source>Presets importieren</source>
        <translation>Import presets</translation>
    </message>
    <message>
        <source>Surreal</source>
        <translation>Surreal</translation>
    </message>
    <message>
        <source>Tooltip Preset Export</source>
        <translation>Save the selected preset as a file</translation>
    </message>
    <message>
        <source>Tooltip Preset Import</source>
        <translation>Add presets from files to the library</translation>
    </message>
    <message>
        <source>tooltip Preset Groupbox</source>
        <translation>Click the thumbnail to apply the preset</translation>
    </message>
    <message>
        <source>tooltip Votreinstellungen kombinieren</source>
        <translation>Join two presets into a new one</translation>
    </message>
</context>
<context>
    <name>HDRProgressThread</name>
    <message>
        <source>Fortschritt</source>
        <translation>Progress</translation>
    </message>
</context>
<context>
    <name>HDRProgressWindow</name>
    <message>
        <source>Fortfahren</source>
        <translation>Continue</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Es ist ein Fehler aufgetreten, Protokoll oder fortfahren</source>
        <translation>An error occurred. Check the log or continue.</translation>
    </message>
</context>
<context>
    <name>HDRRAWDevelopmentWindow</name>
    <message>
        <source>1st order BSpline</source>
        <translation>1st order B-spline</translation>
    </message>
    <message>
        <source>Ausrichtung</source>
        <translation>Alignment</translation>
    </message>
    <message>
        <source>Belichtung optimieren</source>
        <translation>Optimise exposure</translation>
    </message>
    <message>
        <source>Bewegung/ Scherung/ Drehung korrigieren</source>
        <translation>Correct movement/ shear/ rotation</translation>
    </message>
    <message>
        <source>Blauer Himmel (Schatten)</source>
        <translation>Blue sky (shade)</translation>
    </message>
    <message>
        <source>Colorspace Adobe RGB</source>
        <translation>Adobe RGB</translation>
    </message>
    <message>
        <source>Colorspace Apple RGB</source>
        <translation>Apple RGB</translation>
    </message>
    <message>
        <source>Colorspace Best RGB</source>
        <translation>Best RGB</translation>
    </message>
    <message>
        <source>Colorspace Beta RGB</source>
        <translation>Beta RGB</translation>
    </message>
    <message>
        <source>Colorspace Bruce RGB</source>
        <translation>Bruce RGB</translation>
    </message>
    <message>
        <source>Colorspace CIE RGB</source>
        <translation>CIE RGB</translation>
    </message>
    <message>
        <source>Colorspace Colormatch RGB</source>
        <translation>Colormatch RGB</translation>
    </message>
    <message>
        <source>Colorspace Don RGB 4</source>
        <translation>Don RGB 4</translation>
    </message>
    <message>
        <source>Colorspace ECI RGB</source>
        <translation>ECI RGB</translation>
    </message>
    <message>
        <source>Colorspace Ekta Space PS5</source>
        <translation>Ekta Space PS5</translation>
    </message>
    <message>
        <source>Colorspace NTSC RGB</source>
        <translation>NTSC RGB</translation>
    </message>
    <message>
        <source>Colorspace PAL/SECAM RGB</source>
        <translation>PAL/SECAM RGB</translation>
    </message>
    <message>
        <source>Colorspace ProPhoto RGB</source>
        <translation>ProPhoto RGB</translation>
    </message>
    <message>
        <source>Colorspace SMPTE-C RGB</source>
        <translation>SMPTE-C RGB</translation>
    </message>
    <message>
        <source>Colorspace Wide Gamut RGB</source>
        <translation>Wide Gamut RGB</translation>
    </message>
    <message>
        <source>Colorspace sRGB</source>
        <translation>sRGB</translation>
    </message>
    <message>
        <source>Entrauschen</source>
        <translation>Noise reduction</translation>
    </message>
    <message>
        <source>Farbraum</source>
        <translation>Colour space</translation>
    </message>
    <message>
        <source>Farbtemperatur</source>
        <translation>Colour temperature</translation>
    </message>
    <message>
        <source>Fenster immer anzeigen</source>
        <translation>Always show this window</translation>
    </message>
    <message>
        <source>Geisterbildkorrektur</source>
        <translation>Ghost removal</translation>
    </message>
    <message>
        <source>Genauigkeit</source>
        <translation>Accuracy</translation>
    </message>
    <message>
        <source>Glühbirne 100 Watt</source>
        <translation>Light bulb 100 watts</translation>
    </message>
    <message>
        <source>Glühbirne 200 Watt</source>
        <translation>Light bulb 200 watts</translation>
    </message>
    <message>
        <source>Glühbirne 60 Watt</source>
        <translation>Light bulb 60 watts</translation>
    </message>
    <message>
        <source>HDRRAWDevelopmentWindow lumivex</source>
        <translation>&lt;p&gt;Colour space and white balance apply to every photograph loaded afterwards. Choose a white balance from the list, as a Kelvin value or by clicking the colour strip.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>HDRRAWDevelopmentWindow lumivex Topic</source>
        <translation>&lt;h3&gt;RAW development&lt;/h3&gt;</translation>
    </message>
    <message>
        <source>Halogenlampe</source>
        <translation>Halogen lamp</translation>
    </message>
    <message>
        <source>Hotpixel korrigieren</source>
        <translation>Correct hot pixels</translation>
    </message>
    <message>
        <source>ImageType</source>
        <translation>Subject</translation>
    </message>
    <message>
        <source>Interpolation S-Kurve</source>
        <translation>S-curve interpolation</translation>
    </message>
    <message>
        <source>Interpolation S-Kurve kubisch</source>
        <translation>Cubic S-curve interpolation</translation>
    </message>
    <message>
        <source>Interpolation S-Kurve quadratisch</source>
        <translation>Quadratic S-curve interpolation</translation>
    </message>
    <message>
        <source>Interpolation keine</source>
        <translation>No interpolation</translation>
    </message>
    <message>
        <source>Interpolation kubisch</source>
        <translation>Cubic interpolation</translation>
    </message>
    <message>
        <source>Interpolation linear</source>
        <translation>Linear interpolation</translation>
    </message>
    <message>
        <source>Interpolation quadratisch</source>
        <translation>Quadratic interpolation</translation>
    </message>
    <message>
        <source>Kamerarotation korrigieren</source>
        <translation>Correct camera rotation</translation>
    </message>
    <message>
        <source>Kamerazoom korrigieren</source>
        <translation>Correct camera zoom</translation>
    </message>
    <message>
        <source>Kerzenschein</source>
        <translation>Candlelight</translation>
    </message>
    <message>
        <source>Leuchtstofflampe</source>
        <translation>Fluorescent lamp</translation>
    </message>
    <message>
        <source>Mikrodetails korrigieren</source>
        <translation>Correct micro details</translation>
    </message>
    <message>
        <source>Mittagssonne</source>
        <translation>Midday sun</translation>
    </message>
    <message>
        <source>Morgen-/Abendsonne</source>
        <translation>Morning/evening sun</translation>
    </message>
    <message>
        <source>Nebel</source>
        <translation>Fog</translation>
    </message>
    <message>
        <source>O-Spline</source>
        <translation>O-spline</translation>
    </message>
    <message>
        <source>Optimierung der Belichtung</source>
        <translation>Exposure optimisation</translation>
    </message>
    <message>
        <source>Qualität hoch</source>
        <translation>Quality high</translation>
    </message>
    <message>
        <source>Qualität normal</source>
        <translation>Quality normal</translation>
    </message>
    <message>
        <source>Qualität schnell</source>
        <translation>Quality fast</translation>
    </message>
    <message>
        <source>Qualität ultra</source>
        <translation>Quality ultra</translation>
    </message>
    <message>
        <source>RAW Bestätigen</source>
        <translation>Apply the settings and close the window</translation>
    </message>
    <message>
        <source>RAW Farbraum</source>
        <translation>Colour space the photograph is converted to when it is loaded</translation>
    </message>
    <message>
        <source>RAW Farbraum Groupbox</source>
        <translation>Convert the colour space when loading</translation>
    </message>
    <message>
        <source>RAW WhiteBalance Groupbox</source>
        <translation>Apply a white balance when loading</translation>
    </message>
    <message>
        <source>RAW WhiteBalance Listbox</source>
        <translation>Light source of the photograph</translation>
    </message>
    <message>
        <source>RAW WhiteBalance Temperatur Slider</source>
        <translation>Colour temperature in Kelvin</translation>
    </message>
    <message>
        <source>RAW auf Standardwerte zurücksetzen</source>
        <translation>Reset every setting to its default</translation>
    </message>
    <message>
        <source>RAW-Entwicklung lumivex</source>
        <translation>RAW development</translation>
    </message>
    <message>
        <source>Schärfe</source>
        <translation>Sharpness</translation>
    </message>
    <message>
        <source>Skalierung</source>
        <translation>Scaling</translation>
    </message>
    <message>
        <source>Suchradius</source>
        <translation>Search radius</translation>
    </message>
    <message>
        <source>Tooltip Fenster immer anzeigen</source>
        <translation>Show this window before each photograph is loaded</translation>
    </message>
    <message>
        <source>Verschiebung korrigieren</source>
        <translation>Correct shift</translation>
    </message>
    <message>
        <source>Vor-/Nachmittagssonne</source>
        <translation>Morning/afternoon sun</translation>
    </message>
    <message>
        <source>Weißabgleich</source>
        <translation>White balance</translation>
    </message>
    <message>
        <source>automatisch</source>
        <translation>automatic</translation>
    </message>
    <message>
        <source>automatischer Beschnitt ausgerichteter Bilder</source>
        <translation>Crop aligned images automatically</translation>
    </message>
    <message>
        <source>bedeckter Himmel</source>
        <translation>Overcast sky</translation>
    </message>
    <message>
        <source>bilinear</source>
        <translation>bilinear</translation>
    </message>
    <message>
        <source>cubic</source>
        <translation>cubic</translation>
    </message>
    <message>
        <source>cubic bspline</source>
        <translation>cubic B-spline</translation>
    </message>
    <message>
        <source>dunkle Bereiche farblich optimieren</source>
        <translation>Optimise the colours of dark areas</translation>
    </message>
    <message>
        <source>dunkle Bilder stärker entrauschen</source>
        <translation>Denoise dark images more strongly</translation>
    </message>
    <message>
        <source>genetischen Algorithmus verwenden</source>
        <translation>Use the genetic algorithm</translation>
    </message>
    <message>
        <source>gering</source>
        <translation>low</translation>
    </message>
    <message>
        <source>hoch</source>
        <translation>high</translation>
    </message>
    <message>
        <source>nördliches Himmelslicht</source>
        <translation>Northern skylight</translation>
    </message>
    <message>
        <source>panorama checkbox</source>
        <translation>360° panorama</translation>
    </message>
    <message>
        <source>scharf</source>
        <translation>sharp</translation>
    </message>
    <message>
        <source>schwach</source>
        <translation>weak</translation>
    </message>
    <message>
        <source>sinc filter</source>
        <translation>sinc filter</translation>
    </message>
    <message>
        <source>stark</source>
        <translation>strong</translation>
    </message>
    <message>
        <source>use local MTB</source>
        <translation>Use local threshold bitmaps</translation>
    </message>
    <message>
        <source>weich</source>
        <translation>soft</translation>
    </message>
</context>
<context>
    <name>HDRSlider</name>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
</context>
<context>
    <name>HDRStatisticWindow</name>
    <message>
        <source>Statistic Window Title</source>
        <translation>Statistics</translation>
    </message>
    <message>
        <source>Statistic Exit</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>tooltip StatistikWindow verlassen</source>
        <translation>Close the statistics</translation>
    </message>
</context>
<context>
    <name>HDRStyleSelectWindow</name>
    <message>
        <source>Interface Stil anpassen</source>
        <translation>Customise the interface</translation>
    </message>
    <message>
        <source>Stil anpassen</source>
        <translation>Customise style</translation>
    </message>
    <message>
        <source>Tooltip ColorSelectLabel</source>
        <translation>Click or drag to choose the base colour of the interface</translation>
    </message>
    <message>
        <source>Tooltip ColorLabel</source>
        <translation>The chosen base colour</translation>
    </message>
    <message>
        <source>helles Design</source>
        <translation>bright design</translation>
    </message>
    <message>
        <source>Tooltip helles Design</source>
        <translation>Use brighter colours for the interface</translation>
    </message>
    <message>
        <source>rundes Design</source>
        <translation>rounded design</translation>
    </message>
    <message>
        <source>Tooltip rundes Design</source>
        <translation>Draw controls with rounded corners</translation>
    </message>
    <message>
        <source>Übernehmen</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>tooltip Übernehmen</source>
        <translation>Apply the chosen colour and shape</translation>
    </message>
    <message>
        <source>Verwerfen</source>
        <translation>Discard</translation>
    </message>
    <message>
        <source>tooltip Verwerfen</source>
        <translation>Close the window and keep the current style</translation>
    </message>
</context>
<context>
    <name>HDRTimelineDockWidget</name>
    <message>
        <source>tooltip Timeline-Punkt einladen</source>
        <translation>Load this undo point again</translation>
    </message>
    <message>
        <source>tooltip Timeline-Punkt löschen</source>
        <translation>Delete this undo point</translation>
    </message>
    <message>
        <source>Warnung</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Der Undo-Punkt konnte nicht gelöscht werden:</source>
        <translation>The undo point could not be deleted:</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Undo-Eintrag</source>
        <translation>undo entry</translation>
    </message>
    <message>
        <source>Undo-Einträge</source>
        <translation>undo entries</translation>
    </message>
    <message>
        <source>verfügbar</source>
        <translation>available</translation>
    </message>
    <message>
        <source>Löschen eines Undo-Punktes</source>
        <translation>Delete an undo point</translation>
    </message>
    <message>
        <source>Soll dieser Undo-Punkt wirklich gelöscht werden?</source>
        <translation>Do you really want to delete this undo point?</translation>
    </message>
    <message>
        <source>Ja</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Nein</source>
        <translation>No</translation>
    </message>
</context>
<context>
    <name>HDRTonemappingListWidget</name>
    <message>
        <source>hinzufügen</source>
        <translation>add</translation>
    </message>
</context>
<context>
    <name>IExposure</name>
    <message>
        <source>Es steht nicht genug Arbeitsspeicher zur Verfügung.</source>
        <translation>There is not enough working memory available.</translation>
    </message>
    <message>
        <source>Es steht nicht genügend Arbeitsspeicher zur Verfügung.</source>
        <translation>There is not enough memory available.</translation>
    </message>
    <message>
        <source>Datei konnte nicht geladen werden.</source>
        <translation>The file could not be loaded.</translation>
    </message>
    <message>
        <source>Hotpixel werden entfernt</source>
        <translation>Removing hot pixels</translation>
    </message>
    <message>
        <source>dunkle Bereiche werden optimiert</source>
        <translation>Optimising dark areas</translation>
    </message>
    <message>
        <source>Weißabgleich wird berechnet</source>
        <translation>Computing the white balance</translation>
    </message>
    <message>
        <source>Entrauschen wird berechnet</source>
        <translation>Computing the noise reduction</translation>
    </message>
    <message>
        <source>Die Bilddatei konnte nicht neu geladen werden</source>
        <translation>The image file could not be loaded again</translation>
    </message>
    <message>
        <source>Die neu geladene Bilddatei hat nicht die passene Auflösung</source>
        <translation>The image file loaded again does not have the matching resolution</translation>
    </message>
</context>
<context>
    <name>Program</name>
    <message>
        <source>VERSION_NAME LUMIVEX</source>
        <translation>Lumivex</translation>
    </message>
    <message>
        <source>LUMIVEX VERSION_PRO</source>
        <translation>Pro</translation>
    </message>
    <message>
        <source>V1.14.02132</source>
        <translation>Version 1.14.2132</translation>
    </message>
</context>
<context>
    <name>ProgressWindowTitle</name>
    <message>
        <source>Ladevorgang</source>
        <translation>Loading</translation>
    </message>
    <message>
        <source>Bilder laden</source>
        <translation>Loading images</translation>
    </message>
    <message>
        <source>Bildvorbereitung</source>
        <translation>Image preparation</translation>
    </message>
    <message>
        <source>Projekt laden</source>
        <translation>Load project</translation>
    </message>
    <message>
        <source>Projekt speichern</source>
        <translation>Save project</translation>
    </message>
    <message>
        <source>Bildausrichtung</source>
        <translation>Image alignment</translation>
    </message>
    <message>
        <source>Geisterbildkorrektur</source>
        <translation>Ghost correction</translation>
    </message>
    <message>
        <source>Belichtungsoptimierung</source>
        <translation>Exposure optimisation</translation>
    </message>
    <message>
        <source>Tonemapping</source>
        <translation>Tone mapping</translation>
    </message>
    <message>
        <source>Bild speichern</source>
        <translation>Save image</translation>
    </message>
    <message>
        <source>Undo-Daten bereinigen</source>
        <translation>Cleaning up undo data</translation>
    </message>
    <message>
        <source>Stapelverarbeitung</source>
        <translation>Batch processing</translation>
    </message>
    <message>
        <source>Web-Animation</source>
        <translation>Web animation</translation>
    </message>
    <message>
        <source>Tiefenkarte speichern</source>
        <translation>Save depth map</translation>
    </message>
    <message>
        <source>Neuberechnung</source>
        <translation>Recalculation</translation>
    </message>
</context>
<context>
    <name>SplashScreen</name>
    <message>
        <source>Initialisiere System</source>
        <translation>Initialising system</translation>
    </message>
</context>
<context>
    <name>Statistic</name>
    <message>
        <source>Megapixel/Sekunde</source>
        <translation>megapixels/second</translation>
    </message>
    <message>
        <source>Statistik</source>
        <translation>Statistics</translation>
    </message>
    <message>
        <source>Programmstarts</source>
        <translation>Program starts</translation>
    </message>
    <message>
        <source>Laden &amp; Speichern</source>
        <translation>Loading &amp; saving</translation>
    </message>
    <message>
        <source>Einzelbilder eingeladen</source>
        <translation>Single images loaded</translation>
    </message>
    <message>
        <source>Ergebnisbilder gespeichert</source>
        <translation>Result images saved</translation>
    </message>
    <message>
        <source>Bestehende Projekte eingeladen</source>
        <translation>Existing projects loaded</translation>
    </message>
    <message>
        <source>Neue Projekte angelegt</source>
        <translation>New projects created</translation>
    </message>
    <message>
        <source>Größte geladene Bilddatei (in Megapixel)</source>
        <translation>Largest image loaded (megapixels)</translation>
    </message>
    <message>
        <source>An Externe Programme übertragene Bilddateien</source>
        <translation>Images handed to other programs</translation>
    </message>
    <message>
        <source>Vom Plugin importierte Bilddateien</source>
        <translation>Images imported from the plug-in</translation>
    </message>
    <message>
        <source>Gesicherte Wiederherstellungspunkte</source>
        <translation>Restore points saved</translation>
    </message>
    <message>
        <source>Geladene Wiederherstellungspunkte</source>
        <translation>Restore points loaded</translation>
    </message>
    <message>
        <source>Einzelbilder per Drag &amp; Drop geladen</source>
        <translation>Single images loaded by drag &amp; drop</translation>
    </message>
    <message>
        <source>Projekte per Drag &amp; Drop geladen</source>
        <translation>Projects loaded by drag &amp; drop</translation>
    </message>
    <message>
        <source>Ordner per Drag &amp; Drop geladen</source>
        <translation>Folders loaded by drag &amp; drop</translation>
    </message>
    <message>
        <source>Post-Processing &amp; Voreinstellungen</source>
        <translation>Post-processing &amp; presets</translation>
    </message>
    <message>
        <source>Aufwendigste Berechnung (in Sekunden)</source>
        <translation>Longest calculation (seconds)</translation>
    </message>
    <message>
        <source>Echtzeit Animationsmodus</source>
        <translation>Real-time animation mode</translation>
    </message>
    <message>
        <source>Voreinstellungen erzeugt</source>
        <translation>Presets created</translation>
    </message>
    <message>
        <source>Voreinstellungen gelöscht</source>
        <translation>Presets deleted</translation>
    </message>
    <message>
        <source>Voreinstellungen importiert</source>
        <translation>Presets imported</translation>
    </message>
    <message>
        <source>Voreinstellungen exportiert</source>
        <translation>Presets exported</translation>
    </message>
    <message>
        <source>Voreinstellungen umbenannt</source>
        <translation>Presets renamed</translation>
    </message>
    <message>
        <source>Preset-Combiner</source>
        <translation>Preset combiner</translation>
    </message>
    <message>
        <source>Modulnutzung</source>
        <translation>Use of modules</translation>
    </message>
    <message>
        <source>Bilddaten-Browser geöffnet</source>
        <translation>Image browser opened</translation>
    </message>
    <message>
        <source>Stapelverarbeitung geöffnet</source>
        <translation>Batch processing opened</translation>
    </message>
    <message>
        <source>Panoramaviewer geöffnet</source>
        <translation>Panorama viewer opened</translation>
    </message>
    <message>
        <source>EXIF-Informationen geöffnet</source>
        <translation>Exif information opened</translation>
    </message>
    <message>
        <source>Grenzpixelanzeige angesehen</source>
        <translation>Clipped-pixel display viewed</translation>
    </message>
    <message>
        <source>Einstellungen geöffnet</source>
        <translation>Settings opened</translation>
    </message>
    <message>
        <source>Hilfe geöffnet</source>
        <translation>Help opened</translation>
    </message>
    <message>
        <source>Homepage aufgerufen</source>
        <translation>Home page visited</translation>
    </message>
    <message>
        <source>Updatepage aufgerufen</source>
        <translation>Update page visited</translation>
    </message>
    <message>
        <source>About Fenster angezeigt</source>
        <translation>About box shown</translation>
    </message>
    <message>
        <source>Fenster zurückgesetzt</source>
        <translation>Window layout reset</translation>
    </message>
    <message>
        <source>Zusatzfunktionen</source>
        <translation>Additional functions</translation>
    </message>
    <message>
        <source>Belichtungsreihe horizontal gespiegelt</source>
        <translation>Image mirrored horizontally</translation>
    </message>
    <message>
        <source>Belichtungsreihe vertikal gespiegelt</source>
        <translation>Image mirrored vertically</translation>
    </message>
    <message>
        <source>Belichtungsreihe nach links rotiert</source>
        <translation>Image rotated left</translation>
    </message>
    <message>
        <source>Belichtungsreihe nach rechts rotiert</source>
        <translation>Image rotated right</translation>
    </message>
</context>
<context>
    <name>_QListWidget</name>
    <message>
        <source>aktivieren</source>
        <translation>activate</translation>
    </message>
    <message>
        <source>deaktivieren</source>
        <translation>deactivate</translation>
    </message>
    <message>
        <source>m_pFilterAllActivateAct</source>
        <translation>Activate all</translation>
    </message>
    <message>
        <source>m_pFilterAllToggleAct</source>
        <translation>Activate up to this one</translation>
    </message>
    <message>
        <source>m_pFilterAllSingleAct</source>
        <translation>Activate only this one</translation>
    </message>
    <message>
        <source>m_pFilterAllDeactivateAct</source>
        <translation>Deactivate all</translation>
    </message>
    <message>
        <source>kopieren</source>
        <translation>copy</translation>
    </message>
    <message>
        <source>zurücksetzen</source>
        <translation>reset</translation>
    </message>
    <message>
        <source>zum Listenanfang</source>
        <translation>to the top</translation>
    </message>
    <message>
        <source>zum Listenende</source>
        <translation>to the bottom</translation>
    </message>
    <message>
        <source>entfernen</source>
        <translation>remove</translation>
    </message>
    <message>
        <source>alle entfernen</source>
        <translation>remove all</translation>
    </message>
</context>
<context>
    <name>_QListWidgetWithContextMenu</name>
    <message>
        <source>zurücksetzen</source>
        <translation>reset</translation>
    </message>
</context>
<context>
    <name>_QPreviewLabel</name>
    <message>
        <source>Leertaste zum stoppen</source>
        <translation>Press Esc to stop</translation>
    </message>
</context>
<context>
    <name>PPOperators.xml</name>
    <message>
        <source>Abstufungen</source>
        <translation>Levels</translation>
    </message>
    <message>
        <source>Airbag</source>
        <translation>Airbag</translation>
    </message>
    <message>
        <source>Anzahl</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>Artefakte reduzieren</source>
        <translation>Reduce artefacts</translation>
    </message>
    <message>
        <source>Aspekt</source>
        <translation>Aspect</translation>
    </message>
    <message>
        <source>Barock Gemälde</source>
        <translation>Baroque painting</translation>
    </message>
    <message>
        <source>Belichtung</source>
        <translation>Exposure</translation>
    </message>
    <message>
        <source>Bewegungsunschärfe reduzieren</source>
        <translation>Reduce motion blur</translation>
    </message>
    <message>
        <source>Bildleuchten</source>
        <translation>Image glow</translation>
    </message>
    <message>
        <source>Blau</source>
        <translation>Blue</translation>
    </message>
    <message>
        <source>Blauanteil</source>
        <translation>Blue share</translation>
    </message>
    <message>
        <source>Bleach Bypass</source>
        <translation>Bleach bypass</translation>
    </message>
    <message>
        <source>Bleichung</source>
        <translation>Bleaching</translation>
    </message>
    <message>
        <source>Bleistiftzeichnung</source>
        <translation>Pencil drawing</translation>
    </message>
    <message>
        <source>Bogenminuten</source>
        <translation>Minutes of arc</translation>
    </message>
    <message>
        <source>Brechung</source>
        <translation>Refraction</translation>
    </message>
    <message>
        <source>Breite</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>Bubble-Tea</source>
        <translation>Bubble tea</translation>
    </message>
    <message>
        <source>C64 Farben</source>
        <translation>C64 colours</translation>
    </message>
    <message>
        <source>Color Contrast</source>
        <translation>Colour contrast</translation>
    </message>
    <message>
        <source>Comic-Stil</source>
        <translation>Comic style</translation>
    </message>
    <message>
        <source>Cyan</source>
        <translation>Cyan</translation>
    </message>
    <message>
        <source>Cyan-Rot</source>
        <translation>Cyan-red</translation>
    </message>
    <message>
        <source>Cyananteil</source>
        <translation>Cyan share</translation>
    </message>
    <message>
        <source>Detail</source>
        <translation>Detail</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>Dither</source>
        <translation>Dither</translation>
    </message>
    <message>
        <source>Drehung</source>
        <translation>Rotation</translation>
    </message>
    <message>
        <source>Entfärbung</source>
        <translation>Desaturation</translation>
    </message>
    <message>
        <source>Entrauschen</source>
        <translation>Denoise</translation>
    </message>
    <message>
        <source>Entrauschen (Median)</source>
        <translation>Denoise (median)</translation>
    </message>
    <message>
        <source>Entrauschen (Min-Max)</source>
        <translation>Denoise (min-max)</translation>
    </message>
    <message>
        <source>Farbabstand</source>
        <translation>Colour spacing</translation>
    </message>
    <message>
        <source>Farbbalance</source>
        <translation>Colour balance</translation>
    </message>
    <message>
        <source>Farbe</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>Farbkanal Gamma</source>
        <translation>Colour channel gamma</translation>
    </message>
    <message>
        <source>Farbkanal Weichzeichnung</source>
        <translation>Colour channel blur</translation>
    </message>
    <message>
        <source>Farbleuchtkraft</source>
        <translation>Colour vibrance</translation>
    </message>
    <message>
        <source>Farbpalette</source>
        <translation>Colour palette</translation>
    </message>
    <message>
        <source>Farbtemperatur</source>
        <translation>Colour temperature</translation>
    </message>
    <message>
        <source>Farbton</source>
        <translation>Hue</translation>
    </message>
    <message>
        <source>Farbton Kantenverstärker</source>
        <translation>Hue edge enhancer</translation>
    </message>
    <message>
        <source>Farbton Sättigung Belichtung</source>
        <translation>Hue saturation exposure</translation>
    </message>
    <message>
        <source>Farbton Weichzeichnung</source>
        <translation>Hue blur</translation>
    </message>
    <message>
        <source>Farbton hinzumischen</source>
        <translation>Mix in a hue</translation>
    </message>
    <message>
        <source>Farbtöne anpassen</source>
        <translation>Adjust hues</translation>
    </message>
    <message>
        <source>Farbtöne belichten</source>
        <translation>Expose hues</translation>
    </message>
    <message>
        <source>Farbverlauf</source>
        <translation>Colour gradient</translation>
    </message>
    <message>
        <source>Feinheit</source>
        <translation>Fineness</translation>
    </message>
    <message>
        <source>Fokus</source>
        <translation>Focus</translation>
    </message>
    <message>
        <source>Folie</source>
        <translation>Foil</translation>
    </message>
    <message>
        <source>Foto-Reflektor</source>
        <translation>Photo reflector</translation>
    </message>
    <message>
        <source>Gamma Blauanteil</source>
        <translation>Gamma blue</translation>
    </message>
    <message>
        <source>Gamma Grünanteil</source>
        <translation>Gamma green</translation>
    </message>
    <message>
        <source>Gamma Korrektur</source>
        <translation>Gamma correction</translation>
    </message>
    <message>
        <source>Gamma Rotanteil</source>
        <translation>Gamma red</translation>
    </message>
    <message>
        <source>Gelb</source>
        <translation>Yellow</translation>
    </message>
    <message>
        <source>Gelb-Blau</source>
        <translation>Yellow-blue</translation>
    </message>
    <message>
        <source>Gelbanteil</source>
        <translation>Yellow share</translation>
    </message>
    <message>
        <source>Gemälde</source>
        <translation>Painting</translation>
    </message>
    <message>
        <source>Glasscheibe</source>
        <translation>Glass pane</translation>
    </message>
    <message>
        <source>Glättung</source>
        <translation>Smoothing</translation>
    </message>
    <message>
        <source>Gradationskurve</source>
        <translation>Tone curve</translation>
    </message>
    <message>
        <source>Graustufenumwandlung</source>
        <translation>Greyscale conversion</translation>
    </message>
    <message>
        <source>Größe</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>Grün</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>Grünanteil</source>
        <translation>Green share</translation>
    </message>
    <message>
        <source>Helligkeit</source>
        <translation>Brightness</translation>
    </message>
    <message>
        <source>Helligkeit Kontrast Gamma</source>
        <translation>Brightness contrast gamma</translation>
    </message>
    <message>
        <source>Himmel entrauschen</source>
        <translation>Denoise sky</translation>
    </message>
    <message>
        <source>Himmelblau</source>
        <translation>Sky blue</translation>
    </message>
    <message>
        <source>Himmelfarbe</source>
        <translation>Sky colour</translation>
    </message>
    <message>
        <source>Histogramm Abgleich</source>
        <translation>Histogram equalisation</translation>
    </message>
    <message>
        <source>Horizont ausrichten</source>
        <translation>Level horizon</translation>
    </message>
    <message>
        <source>Intensität</source>
        <translation>Intensity</translation>
    </message>
    <message>
        <source>Kantenverstärker</source>
        <translation>Edge enhancer</translation>
    </message>
    <message>
        <source>Kontrast</source>
        <translation>Contrast</translation>
    </message>
    <message>
        <source>Korrektur</source>
        <translation>Correction</translation>
    </message>
    <message>
        <source>Kreis-Weichzeichnung</source>
        <translation>Radial blur</translation>
    </message>
    <message>
        <source>Königsblau</source>
        <translation>Royal blue</translation>
    </message>
    <message>
        <source>Körnung</source>
        <translation>Grain</translation>
    </message>
    <message>
        <source>Körnung hinzufügen</source>
        <translation>Add grain</translation>
    </message>
    <message>
        <source>Leuchten</source>
        <translation>Glow</translation>
    </message>
    <message>
        <source>Licht/Schatten anpassen</source>
        <translation>Adjust lights/shadows</translation>
    </message>
    <message>
        <source>Licht/Schatten färben</source>
        <translation>Tint lights/shadows</translation>
    </message>
    <message>
        <source>Lichter</source>
        <translation>Highlights</translation>
    </message>
    <message>
        <source>Lichter abschneiden</source>
        <translation>Clip highlights</translation>
    </message>
    <message>
        <source>Lichter anpassen</source>
        <translation>Adjust highlights</translation>
    </message>
    <message>
        <source>Lichter färben</source>
        <translation>Tint highlights</translation>
    </message>
    <message>
        <source>Lichtkompression</source>
        <translation>Light compression</translation>
    </message>
    <message>
        <source>Lichtquelle</source>
        <translation>Light source</translation>
    </message>
    <message>
        <source>Lichtschärfe</source>
        <translation>Light sharpness</translation>
    </message>
    <message>
        <source>Lichttuner</source>
        <translation>Light tuner</translation>
    </message>
    <message>
        <source>Lila</source>
        <translation>Purple</translation>
    </message>
    <message>
        <source>Linienhärte</source>
        <translation>Line hardness</translation>
    </message>
    <message>
        <source>Linienstärke</source>
        <translation>Line width</translation>
    </message>
    <message>
        <source>Linsenkorrektur</source>
        <translation>Lens correction</translation>
    </message>
    <message>
        <source>Local Contour</source>
        <translation>Local contour</translation>
    </message>
    <message>
        <source>Local Contrast</source>
        <translation>Local contrast</translation>
    </message>
    <message>
        <source>Länge</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>Magenta</source>
        <translation>magenta</translation>
    </message>
    <message>
        <source>Magenta-Grün</source>
        <translation>Magenta-green</translation>
    </message>
    <message>
        <source>Magnet</source>
        <translation>Magnet</translation>
    </message>
    <message>
        <source>Makrodetail</source>
        <translation>Macro detail</translation>
    </message>
    <message>
        <source>Maskierung</source>
        <translation>Masking</translation>
    </message>
    <message>
        <source>Mikrodetail</source>
        <translation>Micro detail</translation>
    </message>
    <message>
        <source>Mitte</source>
        <translation>Centre</translation>
    </message>
    <message>
        <source>Mitteltöne</source>
        <translation>Midtones</translation>
    </message>
    <message>
        <source>Negativ</source>
        <translation>Negative</translation>
    </message>
    <message>
        <source>Orange</source>
        <translation>Orange</translation>
    </message>
    <message>
        <source>Percentile justieren</source>
        <translation>Adjust percentiles</translation>
    </message>
    <message>
        <source>Pinsel</source>
        <translation>Brush</translation>
    </message>
    <message>
        <source>Pinselzeichnung</source>
        <translation>Brush drawing</translation>
    </message>
    <message>
        <source>Pop-Art</source>
        <translation>Pop art</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Posterize</source>
        <translation>Posterise</translation>
    </message>
    <message>
        <source>Prägung</source>
        <translation>Embossing</translation>
    </message>
    <message>
        <source>Psychedelic</source>
        <translation>Psychedelic</translation>
    </message>
    <message>
        <source>Radius</source>
        <translation>Radius</translation>
    </message>
    <message>
        <source>Rahmen</source>
        <translation>Frame</translation>
    </message>
    <message>
        <source>Rand</source>
        <translation>Border</translation>
    </message>
    <message>
        <source>Randfarbe</source>
        <translation>Frame colour</translation>
    </message>
    <message>
        <source>Raster</source>
        <translation>Grid</translation>
    </message>
    <message>
        <source>Relief</source>
        <translation>Relief</translation>
    </message>
    <message>
        <source>Richtung</source>
        <translation>Direction</translation>
    </message>
    <message>
        <source>Rot</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>Rotanteil</source>
        <translation>Red share</translation>
    </message>
    <message>
        <source>Rundung</source>
        <translation>Rounding</translation>
    </message>
    <message>
        <source>Ränder</source>
        <translation>Edges</translation>
    </message>
    <message>
        <source>Schatten</source>
        <translation>Shadows</translation>
    </message>
    <message>
        <source>Schatten abschneiden</source>
        <translation>Clip shadows</translation>
    </message>
    <message>
        <source>Schatten anpassen</source>
        <translation>Adjust shadows</translation>
    </message>
    <message>
        <source>Schatten färben</source>
        <translation>Tint shadows</translation>
    </message>
    <message>
        <source>Schwarz-Weiß</source>
        <translation>Black and white</translation>
    </message>
    <message>
        <source>Schwarzpunkt</source>
        <translation>Black point</translation>
    </message>
    <message>
        <source>Schärfe</source>
        <translation>Sharpness</translation>
    </message>
    <message>
        <source>Schärfegrenze</source>
        <translation>Focus line</translation>
    </message>
    <message>
        <source>Schärfen</source>
        <translation>Sharpen</translation>
    </message>
    <message>
        <source>Seitenverhältnis</source>
        <translation>Aspect ratio</translation>
    </message>
    <message>
        <source>Sepia Tönung</source>
        <translation>Sepia toning</translation>
    </message>
    <message>
        <source>Sin City</source>
        <translation>Sin City</translation>
    </message>
    <message>
        <source>Sin City Invers</source>
        <translation>Sin City inverted</translation>
    </message>
    <message>
        <source>Solarisierung</source>
        <translation>Solarisation</translation>
    </message>
    <message>
        <source>Solarize</source>
        <translation>Solarise</translation>
    </message>
    <message>
        <source>Streuung</source>
        <translation>Spread</translation>
    </message>
    <message>
        <source>Struktur</source>
        <translation>Structure</translation>
    </message>
    <message>
        <source>Struktur (Metalle)</source>
        <translation>Texture (metals)</translation>
    </message>
    <message>
        <source>Struktur (Papier)</source>
        <translation>Texture (paper)</translation>
    </message>
    <message>
        <source>Struktur (Puzzle)</source>
        <translation>Texture (puzzle)</translation>
    </message>
    <message>
        <source>Struktur (Risse)</source>
        <translation>Texture (cracks)</translation>
    </message>
    <message>
        <source>Struktur (Stoffe)</source>
        <translation>Texture (fabrics)</translation>
    </message>
    <message>
        <source>Stärke</source>
        <translation>Strength</translation>
    </message>
    <message>
        <source>Sättigung</source>
        <translation>Saturation</translation>
    </message>
    <message>
        <source>Temperatur</source>
        <translation>Temperature</translation>
    </message>
    <message>
        <source>Tilt Shift</source>
        <translation>Tilt shift</translation>
    </message>
    <message>
        <source>Tonemapping Fattal</source>
        <translation>Tone mapping gradient domain</translation>
    </message>
    <message>
        <source>Tonemapping Gradient-Luminanz</source>
        <translation>Tone mapping gradient luminance</translation>
    </message>
    <message>
        <source>Tonemapping Konstanter Gradient</source>
        <translation>Tone mapping constant gradient</translation>
    </message>
    <message>
        <source>Tonemapping Mittelwert</source>
        <translation>Tone mapping mean</translation>
    </message>
    <message>
        <source>Tonemapping Mittelwert-Exponent</source>
        <translation>Tone mapping mean exponent</translation>
    </message>
    <message>
        <source>Tonemapping Mittelwert-Gradient</source>
        <translation>Tone mapping mean gradient</translation>
    </message>
    <message>
        <source>Tonemapping Quotient</source>
        <translation>Tone mapping quotient</translation>
    </message>
    <message>
        <source>Tonemapping Sigmoid</source>
        <translation>Tone mapping sigmoid</translation>
    </message>
    <message>
        <source>Tonemapping Surreal</source>
        <translation>Tone mapping surreal</translation>
    </message>
    <message>
        <source>Transparenz</source>
        <translation>Transparency</translation>
    </message>
    <message>
        <source>Twist</source>
        <translation>Twist</translation>
    </message>
    <message>
        <source>Typ</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Unschärfe</source>
        <translation>Blur</translation>
    </message>
    <message>
        <source>Veiling Glare</source>
        <translation>Veiling glare</translation>
    </message>
    <message>
        <source>Verwirbeln</source>
        <translation>Twirl</translation>
    </message>
    <message>
        <source>Verzerrung</source>
        <translation>Distortion</translation>
    </message>
    <message>
        <source>Vignettierung</source>
        <translation>Vignetting</translation>
    </message>
    <message>
        <source>Violett</source>
        <translation>Violet</translation>
    </message>
    <message>
        <source>Violettanteil</source>
        <translation>Violet share</translation>
    </message>
    <message>
        <source>Wachsbild</source>
        <translation>Wax picture</translation>
    </message>
    <message>
        <source>Warp</source>
        <translation>Warp</translation>
    </message>
    <message>
        <source>Weicher Kontrast</source>
        <translation>Soft contrast</translation>
    </message>
    <message>
        <source>Weichzeichnung</source>
        <translation>Blur</translation>
    </message>
    <message>
        <source>Weißpunkt</source>
        <translation>White point</translation>
    </message>
    <message>
        <source>Winkel</source>
        <translation>Angle</translation>
    </message>
    <message>
        <source>Würfel</source>
        <translation>Cubes</translation>
    </message>
    <message>
        <source>Zentrum</source>
        <translation>Centre</translation>
    </message>
    <message>
        <source>Zentrum belichten</source>
        <translation>Expose centre</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>alle</source>
        <translation>all</translation>
    </message>
    <message>
        <source>automatischer Schwarz/Weißpunkt</source>
        <translation>Automatic black/white point</translation>
    </message>
    <message>
        <source>automatischer lokaler Weißabgleich</source>
        <translation>Automatic local white balance</translation>
    </message>
    <message>
        <source>blass</source>
        <translation>pale</translation>
    </message>
    <message>
        <source>breit</source>
        <translation>wide</translation>
    </message>
    <message>
        <source>chromatische Aberrationen korrigieren</source>
        <translation>Correct chromatic aberrations</translation>
    </message>
    <message>
        <source>deckend</source>
        <translation>opaque</translation>
    </message>
    <message>
        <source>dunkel</source>
        <translation>dark</translation>
    </message>
    <message>
        <source>dunkler</source>
        <translation>darker</translation>
    </message>
    <message>
        <source>durchsichtig</source>
        <translation>transparent</translation>
    </message>
    <message>
        <source>eckig</source>
        <translation>square</translation>
    </message>
    <message>
        <source>fein</source>
        <translation>fine</translation>
    </message>
    <message>
        <source>flach</source>
        <translation>flat</translation>
    </message>
    <message>
        <source>gerichtete Weichzeichnung</source>
        <translation>Directional blur</translation>
    </message>
    <message>
        <source>gering</source>
        <translation>low</translation>
    </message>
    <message>
        <source>graue Tinte</source>
        <translation>Grey ink</translation>
    </message>
    <message>
        <source>grob</source>
        <translation>coarse</translation>
    </message>
    <message>
        <source>groß</source>
        <translation>large</translation>
    </message>
    <message>
        <source>hart</source>
        <translation>hard</translation>
    </message>
    <message>
        <source>hell</source>
        <translation>bright</translation>
    </message>
    <message>
        <source>heller</source>
        <translation>brighter</translation>
    </message>
    <message>
        <source>hoch</source>
        <translation>high</translation>
    </message>
    <message>
        <source>idx1</source>
        <translation>idx1</translation>
    </message>
    <message>
        <source>idx7</source>
        <translation>idx7</translation>
    </message>
    <message>
        <source>kantenerhaltende Weichzeichnung</source>
        <translation>Edge-preserving blur</translation>
    </message>
    <message>
        <source>keine</source>
        <translation>none</translation>
    </message>
    <message>
        <source>klein</source>
        <translation>small</translation>
    </message>
    <message>
        <source>kräftig</source>
        <translation>vivid</translation>
    </message>
    <message>
        <source>kurz</source>
        <translation>short</translation>
    </message>
    <message>
        <source>kühl</source>
        <translation>cool</translation>
    </message>
    <message>
        <source>künstlerischer Kantenverstärker</source>
        <translation>Artistic edge enhancer</translation>
    </message>
    <message>
        <source>lang</source>
        <translation>long</translation>
    </message>
    <message>
        <source>links</source>
        <translation>left</translation>
    </message>
    <message>
        <source>manueller Schwarz/Weißpunkt</source>
        <translation>Manual black/white point</translation>
    </message>
    <message>
        <source>manueller Weißabgleich</source>
        <translation>Manual white balance</translation>
    </message>
    <message>
        <source>mehr</source>
        <translation>more</translation>
    </message>
    <message>
        <source>niedrig</source>
        <translation>low</translation>
    </message>
    <message>
        <source>rechts</source>
        <translation>right</translation>
    </message>
    <message>
        <source>rund</source>
        <translation>round</translation>
    </message>
    <message>
        <source>scharf</source>
        <translation>sharp</translation>
    </message>
    <message>
        <source>schmal</source>
        <translation>narrow</translation>
    </message>
    <message>
        <source>schwach</source>
        <translation>weak</translation>
    </message>
    <message>
        <source>stark</source>
        <translation>strong</translation>
    </message>
    <message>
        <source>tief</source>
        <translation>deep</translation>
    </message>
    <message>
        <source>tooltip AddGrain Glättung</source>
        <translation>How softly the result is smoothed.</translation>
    </message>
    <message>
        <source>tooltip AddGrain Körnung</source>
        <translation>Strength of the film grain.</translation>
    </message>
    <message>
        <source>tooltip AddGrain Maskierung</source>
        <translation>Curve that sets how strongly the operator acts depending on the brightness of each pixel.</translation>
    </message>
    <message>
        <source>tooltip AddReflector Farbe</source>
        <translation>Colour of the effect.</translation>
    </message>
    <message>
        <source>tooltip AddReflector Position</source>
        <translation>Position of the effect in the picture.</translation>
    </message>
    <message>
        <source>tooltip Airbag Position</source>
        <translation>Position of the effect in the picture.</translation>
    </message>
    <message>
        <source>tooltip Airbag Verzerrung</source>
        <translation>Strength of the distortion.</translation>
    </message>
    <message>
        <source>tooltip Airbag Zoom</source>
        <translation>Magnification that cuts away empty borders after the distortion.</translation>
    </message>
    <message>
        <source>tooltip ArtworkEnhance Detail</source>
        <translation>Amount of emphasised detail.</translation>
    </message>
    <message>
        <source>tooltip ArtworkEnhance Radius</source>
        <translation>Size of the neighbourhood, in pixels, evaluated around every pixel; larger values act over wider areas.</translation>
    </message>
    <message>
        <source>tooltip BasicTools Gamma Korrektur</source>
        <translation>Brightens or darkens the midtones without changing black and white.</translation>
    </message>
    <message>
        <source>tooltip BasicTools Helligkeit</source>
        <translation>Brightens or darkens the picture.</translation>
    </message>
    <message>
        <source>tooltip BasicTools Kontrast</source>
        <translation>Raises or lowers the contrast.</translation>
    </message>
    <message>
        <source>tooltip BasicTools Maskierung</source>
        <translation>Curve that sets how strongly the operator acts depending on the brightness of each pixel.</translation>
    </message>
    <message>
        <source>tooltip BlackWhite Maskierung</source>
        <translation>Curve that sets how strongly the operator acts depending on the brightness of each pixel.</translation>
    </message>
    <message>
        <source>tooltip BlackWhite Radius</source>
        <translation>Size of the neighbourhood, in pixels, evaluated around every pixel; larger values act over wider areas.</translation>
    </message>
    <message>
        <source>tooltip BlackWhite Weißpunkt</source>
        <translation>Brightness that becomes pure white.</translation>
    </message>
    <message>
        <source>tooltip BleachBypass Entfärbung</source>
        <translation>How strongly the colours are desaturated.</translation>
    </message>
    <message>
        <source>tooltip BleachBypass Maskierung</source>
        <translation>Curve that sets how strongly the operator acts depending on the brightness of each pixel.</translation>
    </message>
    <message>
        <source>tooltip BleachBypass Stärke</source>
        <translation>Strength of the effect.</translation>
    </message>
    <message>
        <source>tooltip Border Breite</source>
        <translation>Width of the transition.</translation>
    </message>
    <message>
        <source>tooltip Border Randfarbe</source>
        <translation>Colour of the frame.</translation>
    </message>
    <message>
        <source>tooltip Border Rundung</source>
        <translation>Rounding of the corners.</translation>
    </message>
    <message>
        <source>tooltip Bubble Lichtquelle</source>
        <translation>Position of the light source.</translation>
    </message>
    <message>
        <source>tooltip Bubble Raster</source>
        <translation>Size of the grid.</translation>
    </message>
    <message>
        <source>tooltip Bubble Struktur</source>
        <translation>Fineness of the surface structure.</translation>
    </message>
    <message>
        <source>tooltip C64 Raster</source>
        <translation>Size of the grid.</translation>
    </message>
    <message>
        <source>tooltip CenterLight Aspekt</source>
        <translation>Ratio of width to height of the exposed area.</translation>
    </message>
    <message>
        <source>tooltip CenterLight Mitte</source>
        <translation>Exposure of the centre of the picture.</translation>
    </message>
    <message>
        <source>tooltip CenterLight Position</source>
        <translation>Position of the effect in the picture.</translation>
    </message>
    <message>
        <source>tooltip CenterLight Ränder</source>
        <translation>Exposure of the edges of the picture.</translation>
    </message>
    <message>
        <source>tooltip ChannelSmooth Blauanteil</source>
        <translation>Share of the blue colour channel.</translation>
    </message>
    <message>
        <source>tooltip ChannelSmooth Grünanteil</source>
        <translation>Share of the green colour channel.</translation>
    </message>
    <message>
        <source>tooltip ChannelSmooth Radius</source>
        <translation>Size of the neighbourhood, in pixels, evaluated around every pixel; larger values act over wider areas.</translation>
    </message>
    <message>
        <source>tooltip ChannelSmooth Rotanteil</source>
        <translation>Share of the red colour channel.</translation>
    </message>
    <message>
        <source>tooltip ChromaticAberration Radius</source>
        <translation>Size of the neighbourhood, in pixels, evaluated around every pixel; larger values act over wider areas.</translation>
    </message>
    <message>
        <source>tooltip ChromaticAberration Schärfe</source>
        <translation>How much sharpness and edge detail is kept.</translation>
    </message>
    <message>
        <source>tooltip ColorBalance Cyan-Rot</source>
        <translation>Shifts the colours between cyan and red.</translation>
    </message>
    <message>
        <source>tooltip ColorBalance Gelb-Blau</source>
        <translation>Shifts the colours between yellow and blue.</translation>
    </message>
    <message>
        <source>tooltip ColorBalance Magenta-Grün</source>
        <translation>Shifts the colours between magenta and green.</translation>
    </message>
    <message>
        <source>tooltip ColorContrast Maskierung</source>
        <translation>Curve that sets how strongly the operator acts depending on the brightness of each pixel.</translation>
    </message>
    <message>
        <source>tooltip ColorContrast Radius</source>
        <translation>Size of the neighbourhood, in pixels, evaluated around every pixel; larger values act over wider areas.</translation>
    </message>
    <message>
        <source>tooltip ColorContrast Stärke</source>
        <translation>Strength of the effect.</translation>
    </message>
    <message>
        <source>tooltip ColorEnhance Farbton</source>
        <translation>Hue by which the colours are turned or with which they are tinted.</translation>
    </message>
    <message>
        <source>tooltip ColorEnhance Makrodetail</source>
        <translation>Emphasises large structures and area contrast.</translation>
    </message>
    <message>
        <source>tooltip ColorEnhance Mikrodetail</source>
        <translation>Emphasises fine structures and textures.</translation>
    </message>
    <message>
        <source>tooltip ColorEnhance Radius</source>
        <translation>Size of the neighbourhood, in pixels, evaluated around every pixel; larger values act over wider areas.</translation>
    </message>
    <message>
        <source>tooltip ColorIntensity Maskierung</source>
        <translation>Curve that sets how strongly the operator acts depending on the brightness of each pixel.</translation>
    </message>
    <message>
        <source>tooltip ColorIntensity Stärke</source>
        <translation>Strength of the effect.</translation>
    </message>
    <message>
        <source>tooltip ColorLightShadow Lichter färben</source>
        <translation>Strength of the tint of the highlights.</translation>
    </message>
    <message>
        <source>tooltip ColorLightShadow Schatten färben</source>
        <translation>Strength of the tint of the shadows.</translation>
    </message>
    <message>
        <source>tooltip ColorMix Farbton</source>
        <translation>Hue by which the colours are turned or with which they are tinted.</translation>
    </message>
    <message>
        <source>tooltip ColorMix Stärke</source>
        <translation>Strength of the effect.</translation>
    </message>
    <message>
        <source>tooltip ColorPalette Gelb</source>
        <translation>Effect on the yellow hues.</translation>
    </message>
    <message>
        <source>tooltip ColorPalette Grün</source>
        <translation>Effect on the green hues.</translation>
    </message>
    <message>
        <source>tooltip ColorPalette Himmelblau</source>
        <translation>Effect on the sky-blue hues.</translation>
    </message>
    <message>
        <source>tooltip ColorPalette Königsblau</source>
        <translation>Effect on the royal-blue hues.</translation>
    </message>
    <message>
        <source>tooltip ColorPalette Lila</source>
        <translation>Effect on the purple hues.</translation>
    </message>
    <message>
        <source>tooltip ColorPalette Magenta</source>
        <translation>Effect on the magenta hues.</translation>
    </message>
    <message>
        <source>tooltip ColorPalette Orange</source>
        <translation>Effect on the orange hues.</translation>
    </message>
    <message>
        <source>tooltip ColorPalette Rot</source>
        <translation>Effect on the red hues.</translation>
    </message>
    <message>
        <source>tooltip ColorSmooth Farbton</source>
        <translation>Hue by which the colours are turned or with which they are tinted.</translation>
    </message>
    <message>
        <source>tooltip ColorSmooth Radius</source>
        <translation>Size of the neighbourhood, in pixels, evaluated around every pixel; larger values act over wider areas.</translation>
    </message>
    <message>
        <source>tooltip ColorSmooth Schärfe</source>
        <translation>How much sharpness and edge detail is kept.</translation>
    </message>
    <message>
        <source>tooltip ColorSolarize Stärke</source>
        <translation>Strength of the effect.</translation>
    </message>
    <message>
        <source>tooltip ColorTemperature Maskierung</source>
        <translation>Curve that sets how strongly the operator acts depending on the brightness of each pixel.</translation>
    </message>
    <message>
        <source>tooltip ColorTemperature Temperatur</source>
        <translation>Colour temperature in kelvin.</translation>
    </message>
    <message>
        <source>tooltip ColorTint Bleichung</source>
        <translation>How strongly the colours are bleached.</translation>
    </message>
    <message>
        <source>tooltip ColorTint Maskierung</source>
        <translation>Curve that sets how strongly the operator acts depending on the brightness of each pixel.</translation>
    </message>
    <message>
        <source>tooltip ComicPaint Abstufungen</source>
        <translation>Number of tonal levels.</translation>
    </message>
    <message>
        <source>tooltip ComicPaint Farbe</source>
        <translation>Colour of the effect.</translation>
    </message>
    <message>
        <source>tooltip ComicPaint Linienstärke</source>
        <translation>Width of the drawn lines.</translation>
    </message>
    <message>
        <source>tooltip ComicPaint Radius</source>
        <translation>Size of the neighbourhood, in pixels, evaluated around every pixel; larger values act over wider areas.</translation>
    </message>
    <message>
        <source>tooltip ComicPaint Solarisierung</source>
        <translation>Strength of the tonal reversal.</translation>
    </message>
    <message>
        <source>tooltip Cubify Größe</source>
        <translation>Size of the area affected.</translation>
    </message>
    <message>
        <source>tooltip Cubify Maskierung</source>
        <translation>Curve that sets how strongly the operator acts depending on the brightness of each pixel.</translation>
    </message>
    <message>
        <source>tooltip Cubify Rand</source>
        <translation>Width of the border around each cube.</translation>
    </message>
    <message>
        <source>tooltip Cubify Transparenz</source>
        <translation>How translucent the effect is.</translation>
    </message>
    <message>
        <source>tooltip DeNoiseAverage Maskierung</source>
        <translation>Curve that sets how strongly the operator acts depending on the brightness of each pixel.</translation>
    </message>
    <message>
        <source>tooltip DeNoiseAverage Schärfe</source>
        <translation>How much sharpness and edge detail is kept.</translation>
    </message>
    <message>
        <source>tooltip DeNoiseMedian Maskierung</source>
        <translation>Curve that sets how strongly the operator acts depending on the brightness of each pixel.</translation>
    </message>
    <message>
        <source>tooltip DeNoiseMedian Schärfe</source>
        <translation>How much sharpness and edge detail is kept.</translation>
    </message>
    <message>
        <source>tooltip DeNoiseMinMax Maskierung</source>
        <translation>Curve that sets how strongly the operator acts depending on the brightness of each pixel.</translation>
    </message>
    <message>
        <source>tooltip DeNoiseMinMax Schärfe</source>
        <translation>How much sharpness and edge detail is kept.</translation>
    </message>
    <message>
        <source>tooltip DirBlur Leuchten</source>
        <translation>How strongly bright areas glow.</translation>
    </message>
    <message>
        <source>tooltip DirBlur Maskierung</source>
        <translation>Curve that sets how strongly the operator acts depending on the brightness of each pixel.</translation>
    </message>
    <message>
        <source>tooltip DirBlur Richtung</source>
        <translation>Direction of the movement.</translation>
    </message>
    <message>
        <source>tooltip DirSharpen Maskierung</source>
        <translation>Curve that sets how strongly the operator acts depending on the brightness of each pixel.</translation>
    </message>
    <message>
        <source>tooltip DirSharpen Richtung</source>
        <translation>Direction of the movement.</translation>
    </message>
    <message>
        <source>tooltip DirSharpen Stärke</source>
        <translation>Strength of the effect.</translation>
    </message>
    <message>
        <source>tooltip Enhance Makrodetail</source>
        <translation>Emphasises large structures and area contrast.</translation>
    </message>
    <message>
        <source>tooltip Enhance Maskierung</source>
        <translation>Curve that sets how strongly the operator acts depending on the brightness of each pixel.</translation>
    </message>
    <message>
        <source>tooltip Enhance Mikrodetail</source>
        <translation>Emphasises fine structures and textures.</translation>
    </message>
    <message>
        <source>tooltip Enhance Radius</source>
        <translation>Size of the neighbourhood, in pixels, evaluated around every pixel; larger values act over wider areas.</translation>
    </message>
    <message>
        <source>tooltip Focus Radius</source>
        <translation>Size of the neighbourhood, in pixels, evaluated around every pixel; larger values act over wider areas.</translation>
    </message>
    <message>
        <source>tooltip Focus Weichzeichnung</source>
        <translation>Strength of the blur outside the focus.</translation>
    </message>
    <message>
        <source>tooltip Focus Zentrum</source>
        <translation>Centre of the effect.</translation>
    </message>
    <message>
        <source>tooltip GammaColor Gamma Blauanteil</source>
        <translation>Gamma of the blue channel.</translation>
    </message>
    <message>
        <source>tooltip GammaColor Gamma Grünanteil</source>
        <translation>Gamma of the green channel.</translation>
    </message>
    <message>
        <source>tooltip GammaColor Gamma Rotanteil</source>
        <translation>Gamma of the red channel.</translation>
    </message>
    <message>
        <source>tooltip Geometry</source>
        <translation>Masks that limit the operator's effect to areas of the picture.</translation>
    </message>
    <message>
        <source>tooltip GlasStruct Brechung</source>
        <translation>How strongly light is refracted by the structure.</translation>
    </message>
    <message>
        <source>tooltip GlasStruct Lichtquelle</source>
        <translation>Position of the light source.</translation>
    </message>
    <message>
        <source>tooltip GlasStruct Struktur</source>
        <translation>Fineness of the surface structure.</translation>
    </message>
    <message>
        <source>tooltip GradationLagrange Gradationskurve</source>
        <translation>Tone curve: maps every input brightness to a new brightness.</translation>
    </message>
    <message>
        <source>tooltip Greyscale Blauanteil</source>
        <translation>Share of the blue colour channel.</translation>
    </message>
    <message>
        <source>tooltip Greyscale Cyananteil</source>
        <translation>Share of the cyan hues.</translation>
    </message>
    <message>
        <source>tooltip Greyscale Gelbanteil</source>
        <translation>Share of the yellow hues.</translation>
    </message>
    <message>
        <source>tooltip Greyscale Grünanteil</source>
        <translation>Share of the green colour channel.</translation>
    </message>
    <message>
        <source>tooltip Greyscale Rotanteil</source>
        <translation>Share of the red colour channel.</translation>
    </message>
    <message>
        <source>tooltip Greyscale Violettanteil</source>
        <translation>Share of the violet hues.</translation>
    </message>
    <message>
        <source>tooltip HSL Belichtung</source>
        <translation>Brightens or darkens the picture.</translation>
    </message>
    <message>
        <source>tooltip HSL Farbton</source>
        <translation>Hue by which the colours are turned or with which they are tinted.</translation>
    </message>
    <message>
        <source>tooltip HSL Maskierung</source>
        <translation>Curve that sets how strongly the operator acts depending on the brightness of each pixel.</translation>
    </message>
    <message>
        <source>tooltip HSL Sättigung</source>
        <translation>Raises or lowers the colour saturation.</translation>
    </message>
    <message>
        <source>tooltip HistogramEqualize Stärke</source>
        <translation>Strength of the effect.</translation>
    </message>
    <message>
        <source>tooltip Horizon Bogenminuten</source>
        <translation>Rotation angle in minutes of arc for levelling the horizon.</translation>
    </message>
    <message>
        <source>tooltip Horizon Zentrum</source>
        <translation>Centre of the effect.</translation>
    </message>
    <message>
        <source>tooltip Horizon Zoom</source>
        <translation>Magnification that cuts away empty borders after the distortion.</translation>
    </message>
    <message>
        <source>tooltip HueExpose Blau</source>
        <translation>Effect on the blue hues.</translation>
    </message>
    <message>
        <source>tooltip HueExpose Cyan</source>
        <translation>Effect on the cyan hues.</translation>
    </message>
    <message>
        <source>tooltip HueExpose Gelb</source>
        <translation>Effect on the yellow hues.</translation>
    </message>
    <message>
        <source>tooltip HueExpose Grün</source>
        <translation>Effect on the green hues.</translation>
    </message>
    <message>
        <source>tooltip HueExpose Rot</source>
        <translation>Effect on the red hues.</translation>
    </message>
    <message>
        <source>tooltip HueExpose Violett</source>
        <translation>Effect on the violet hues.</translation>
    </message>
    <message>
        <source>tooltip HueShift Blau</source>
        <translation>Effect on the blue hues.</translation>
    </message>
    <message>
        <source>tooltip HueShift Cyan</source>
        <translation>Effect on the cyan hues.</translation>
    </message>
    <message>
        <source>tooltip HueShift Gelb</source>
        <translation>Effect on the yellow hues.</translation>
    </message>
    <message>
        <source>tooltip HueShift Grün</source>
        <translation>Effect on the green hues.</translation>
    </message>
    <message>
        <source>tooltip HueShift Rot</source>
        <translation>Effect on the red hues.</translation>
    </message>
    <message>
        <source>tooltip HueShift Violett</source>
        <translation>Effect on the violet hues.</translation>
    </message>
    <message>
        <source>tooltip ImageBloom Maskierung</source>
        <translation>Curve that sets how strongly the operator acts depending on the brightness of each pixel.</translation>
    </message>
    <message>
        <source>tooltip ImageBloom Radius</source>
        <translation>Size of the neighbourhood, in pixels, evaluated around every pixel; larger values act over wider areas.</translation>
    </message>
    <message>
        <source>tooltip ImageBloom Stärke</source>
        <translation>Strength of the effect.</translation>
    </message>
    <message>
        <source>tooltip ImageBloom Temperatur</source>
        <translation>Colour temperature in kelvin.</translation>
    </message>
    <message>
        <source>tooltip ImageSmooth Maskierung</source>
        <translation>Curve that sets how strongly the operator acts depending on the brightness of each pixel.</translation>
    </message>
    <message>
        <source>tooltip ImageSmooth Radius</source>
        <translation>Size of the neighbourhood, in pixels, evaluated around every pixel; larger values act over wider areas.</translation>
    </message>
    <message>
        <source>tooltip ImageSmooth Schärfe</source>
        <translation>How much sharpness and edge detail is kept.</translation>
    </message>
    <message>
        <source>tooltip InvSinCity Farbton</source>
        <translation>Hue by which the colours are turned or with which they are tinted.</translation>
    </message>
    <message>
        <source>tooltip InvSinCity Gradationskurve</source>
        <translation>Tone curve: maps every input brightness to a new brightness.</translation>
    </message>
    <message>
        <source>tooltip LayerEffekt Combo</source>
        <translation>Blend mode and opacity with which the operator's result is laid over the picture.</translation>
    </message>
    <message>
        <source>tooltip LensCorrection Position</source>
        <translation>Position of the effect in the picture.</translation>
    </message>
    <message>
        <source>tooltip LensCorrection Stärke</source>
        <translation>Strength of the effect.</translation>
    </message>
    <message>
        <source>tooltip LightShadow Lichter abschneiden</source>
        <translation>Brightness from which highlights count as pure white.</translation>
    </message>
    <message>
        <source>tooltip LightShadow Lichter anpassen</source>
        <translation>Brightens or darkens the bright areas.</translation>
    </message>
    <message>
        <source>tooltip LightShadow Schatten abschneiden</source>
        <translation>Brightness up to which shadows count as pure black.</translation>
    </message>
    <message>
        <source>tooltip LightShadow Schatten anpassen</source>
        <translation>Brightens or darkens the dark areas.</translation>
    </message>
    <message>
        <source>tooltip LightTuner Lichtschärfe</source>
        <translation>How sharply the edge of the light is bounded.</translation>
    </message>
    <message>
        <source>tooltip LightTuner Position</source>
        <translation>Position of the effect in the picture.</translation>
    </message>
    <message>
        <source>tooltip LightTuner Radius</source>
        <translation>Size of the neighbourhood, in pixels, evaluated around every pixel; larger values act over wider areas.</translation>
    </message>
    <message>
        <source>tooltip LocalContour Maskierung</source>
        <translation>Curve that sets how strongly the operator acts depending on the brightness of each pixel.</translation>
    </message>
    <message>
        <source>tooltip LocalContour Radius</source>
        <translation>Size of the neighbourhood, in pixels, evaluated around every pixel; larger values act over wider areas.</translation>
    </message>
    <message>
        <source>tooltip LocalContour Stärke</source>
        <translation>Strength of the effect.</translation>
    </message>
    <message>
        <source>tooltip LocalContrast Maskierung</source>
        <translation>Curve that sets how strongly the operator acts depending on the brightness of each pixel.</translation>
    </message>
    <message>
        <source>tooltip LocalContrast Radius</source>
        <translation>Size of the neighbourhood, in pixels, evaluated around every pixel; larger values act over wider areas.</translation>
    </message>
    <message>
        <source>tooltip LocalContrast Stärke</source>
        <translation>Strength of the effect.</translation>
    </message>
    <message>
        <source>tooltip LocalWhitebalance Radius</source>
        <translation>Size of the neighbourhood, in pixels, evaluated around every pixel; larger values act over wider areas.</translation>
    </message>
    <message>
        <source>tooltip LocalWhitebalance Stärke</source>
        <translation>Strength of the effect.</translation>
    </message>
    <message>
        <source>tooltip Magnet Größe</source>
        <translation>Size of the area affected.</translation>
    </message>
    <message>
        <source>tooltip Magnet Stärke</source>
        <translation>Strength of the effect.</translation>
    </message>
    <message>
        <source>tooltip Magnet Zentrum</source>
        <translation>Centre of the effect.</translation>
    </message>
    <message>
        <source>tooltip Magnet Zoom</source>
        <translation>Magnification that cuts away empty borders after the distortion.</translation>
    </message>
    <message>
        <source>tooltip Oelbild Lichtquelle</source>
        <translation>Position of the light source.</translation>
    </message>
    <message>
        <source>tooltip Oelbild Pinsel</source>
        <translation>Size of the brush.</translation>
    </message>
    <message>
        <source>tooltip Oelbild Relief</source>
        <translation>Depth of the relief.</translation>
    </message>
    <message>
        <source>tooltip Oelbild Schärfe</source>
        <translation>How much sharpness and edge detail is kept.</translation>
    </message>
    <message>
        <source>tooltip Oilpaint Radius</source>
        <translation>Size of the neighbourhood, in pixels, evaluated around every pixel; larger values act over wider areas.</translation>
    </message>
    <message>
        <source>tooltip Painting Pinsel</source>
        <translation>Size of the brush.</translation>
    </message>
    <message>
        <source>tooltip Painting Schärfe</source>
        <translation>How much sharpness and edge detail is kept.</translation>
    </message>
    <message>
        <source>tooltip PencilPaint Linienhärte</source>
        <translation>Hardness of the pencil strokes.</translation>
    </message>
    <message>
        <source>tooltip PencilPaint Linienstärke</source>
        <translation>Width of the drawn lines.</translation>
    </message>
    <message>
        <source>tooltip PencilPaint Maskierung</source>
        <translation>Curve that sets how strongly the operator acts depending on the brightness of each pixel.</translation>
    </message>
    <message>
        <source>tooltip Plastics Details</source>
        <translation>Size of the details that the foil traces.</translation>
    </message>
    <message>
        <source>tooltip Plastics Position</source>
        <translation>Position of the effect in the picture.</translation>
    </message>
    <message>
        <source>tooltip Plastics Transparenz</source>
        <translation>How translucent the effect is.</translation>
    </message>
    <message>
        <source>tooltip Popart Abstufungen</source>
        <translation>Number of tonal levels.</translation>
    </message>
    <message>
        <source>tooltip Popart Anzahl</source>
        <translation>Number of picture tiles.</translation>
    </message>
    <message>
        <source>tooltip Popart Farbabstand</source>
        <translation>Spacing of hues between the tiles.</translation>
    </message>
    <message>
        <source>tooltip Popart Farbton</source>
        <translation>Hue by which the colours are turned or with which they are tinted.</translation>
    </message>
    <message>
        <source>tooltip Popart Sättigung</source>
        <translation>Raises or lowers the colour saturation.</translation>
    </message>
    <message>
        <source>tooltip Posterize Abstufungen</source>
        <translation>Number of tonal levels.</translation>
    </message>
    <message>
        <source>tooltip Psycho Farbabstand</source>
        <translation>Spacing of hues between the tiles.</translation>
    </message>
    <message>
        <source>tooltip Psycho Farbton</source>
        <translation>Hue by which the colours are turned or with which they are tinted.</translation>
    </message>
    <message>
        <source>tooltip Psycho Maskierung</source>
        <translation>Curve that sets how strongly the operator acts depending on the brightness of each pixel.</translation>
    </message>
    <message>
        <source>tooltip Psycho Sättigung</source>
        <translation>Raises or lowers the colour saturation.</translation>
    </message>
    <message>
        <source>tooltip RadialBlur Länge</source>
        <translation>Length of the smear.</translation>
    </message>
    <message>
        <source>tooltip RadialBlur Winkel</source>
        <translation>Rotation angle in degrees.</translation>
    </message>
    <message>
        <source>tooltip RemoveArtifacts Dither</source>
        <translation>Fine noise against banding in gradients.</translation>
    </message>
    <message>
        <source>tooltip RemoveArtifacts Korrektur</source>
        <translation>Strength of the correction.</translation>
    </message>
    <message>
        <source>tooltip RemoveArtifacts Streuung</source>
        <translation>Size of the area over which disturbances are spread.</translation>
    </message>
    <message>
        <source>tooltip Rotate Twist</source>
        <translation>Twist towards the centre.</translation>
    </message>
    <message>
        <source>tooltip Rotate Winkel</source>
        <translation>Rotation angle in degrees.</translation>
    </message>
    <message>
        <source>tooltip Rotate Zentrum</source>
        <translation>Centre of the effect.</translation>
    </message>
    <message>
        <source>tooltip Rotate Zoom</source>
        <translation>Magnification that cuts away empty borders after the distortion.</translation>
    </message>
    <message>
        <source>tooltip Sepia Farbton</source>
        <translation>Hue by which the colours are turned or with which they are tinted.</translation>
    </message>
    <message>
        <source>tooltip Sepia Maskierung</source>
        <translation>Curve that sets how strongly the operator acts depending on the brightness of each pixel.</translation>
    </message>
    <message>
        <source>tooltip Sharpen Maskierung</source>
        <translation>Curve that sets how strongly the operator acts depending on the brightness of each pixel.</translation>
    </message>
    <message>
        <source>tooltip Sharpen Stärke</source>
        <translation>Strength of the effect.</translation>
    </message>
    <message>
        <source>tooltip SinCity Farbton</source>
        <translation>Hue by which the colours are turned or with which they are tinted.</translation>
    </message>
    <message>
        <source>tooltip SinCity Gradationskurve</source>
        <translation>Tone curve: maps every input brightness to a new brightness.</translation>
    </message>
    <message>
        <source>tooltip SkySmooth Himmelfarbe</source>
        <translation>Colour of the sky that is smoothed.</translation>
    </message>
    <message>
        <source>tooltip SkySmooth Radius</source>
        <translation>Size of the neighbourhood, in pixels, evaluated around every pixel; larger values act over wider areas.</translation>
    </message>
    <message>
        <source>tooltip SkySmooth Schärfe</source>
        <translation>How much sharpness and edge detail is kept.</translation>
    </message>
    <message>
        <source>tooltip SoftContrast Glättung</source>
        <translation>How softly the result is smoothed.</translation>
    </message>
    <message>
        <source>tooltip SoftContrast Maskierung</source>
        <translation>Curve that sets how strongly the operator acts depending on the brightness of each pixel.</translation>
    </message>
    <message>
        <source>tooltip SoftContrast Stärke</source>
        <translation>Strength of the effect.</translation>
    </message>
    <message>
        <source>tooltip StructureCloth Feinheit</source>
        <translation>Scale of the texture.</translation>
    </message>
    <message>
        <source>tooltip StructureCloth Prägung</source>
        <translation>How three-dimensional the texture appears.</translation>
    </message>
    <message>
        <source>tooltip StructureCloth Typ</source>
        <translation>Choice of texture; a click opens the overview of the textures.</translation>
    </message>
    <message>
        <source>tooltip StructureCloth Unschärfe</source>
        <translation>Blur of the texture.</translation>
    </message>
    <message>
        <source>tooltip StructureCrack Feinheit</source>
        <translation>Scale of the texture.</translation>
    </message>
    <message>
        <source>tooltip StructureCrack Prägung</source>
        <translation>How three-dimensional the texture appears.</translation>
    </message>
    <message>
        <source>tooltip StructureCrack Typ</source>
        <translation>Choice of texture; a click opens the overview of the textures.</translation>
    </message>
    <message>
        <source>tooltip StructureCrack Unschärfe</source>
        <translation>Blur of the texture.</translation>
    </message>
    <message>
        <source>tooltip StructureMetal Feinheit</source>
        <translation>Scale of the texture.</translation>
    </message>
    <message>
        <source>tooltip StructureMetal Lichtquelle</source>
        <translation>Position of the light source.</translation>
    </message>
    <message>
        <source>tooltip StructureMetal Prägung</source>
        <translation>How three-dimensional the texture appears.</translation>
    </message>
    <message>
        <source>tooltip StructureMetal Typ</source>
        <translation>Choice of texture; a click opens the overview of the textures.</translation>
    </message>
    <message>
        <source>tooltip StructureMetal Unschärfe</source>
        <translation>Blur of the texture.</translation>
    </message>
    <message>
        <source>tooltip StructurePaper Farbton</source>
        <translation>Hue by which the colours are turned or with which they are tinted.</translation>
    </message>
    <message>
        <source>tooltip StructurePaper Feinheit</source>
        <translation>Scale of the texture.</translation>
    </message>
    <message>
        <source>tooltip StructurePaper Prägung</source>
        <translation>How three-dimensional the texture appears.</translation>
    </message>
    <message>
        <source>tooltip StructurePaper Typ</source>
        <translation>Choice of texture; a click opens the overview of the textures.</translation>
    </message>
    <message>
        <source>tooltip StructurePuzzle Feinheit</source>
        <translation>Scale of the texture.</translation>
    </message>
    <message>
        <source>tooltip StructurePuzzle Lichtquelle</source>
        <translation>Position of the light source.</translation>
    </message>
    <message>
        <source>tooltip StructurePuzzle Prägung</source>
        <translation>How three-dimensional the texture appears.</translation>
    </message>
    <message>
        <source>tooltip StructurePuzzle Typ</source>
        <translation>Choice of texture; a click opens the overview of the textures.</translation>
    </message>
    <message>
        <source>tooltip TM Intensität</source>
        <translation>Strength of the effect.</translation>
    </message>
    <message>
        <source>tooltip TM Lichtkompression</source>
        <translation>How strongly bright areas are compressed so that highlights keep their detail.</translation>
    </message>
    <message>
        <source>tooltip TM Makrodetail</source>
        <translation>Emphasises large structures and area contrast.</translation>
    </message>
    <message>
        <source>tooltip TM Maskierung</source>
        <translation>Curve that sets how strongly the operator acts depending on the brightness of each pixel.</translation>
    </message>
    <message>
        <source>tooltip TM Mikrodetail</source>
        <translation>Emphasises fine structures and textures.</translation>
    </message>
    <message>
        <source>tooltip TM Radius</source>
        <translation>Size of the neighbourhood, in pixels, evaluated around every pixel; larger values act over wider areas.</translation>
    </message>
    <message>
        <source>tooltip TiltColor Breite</source>
        <translation>Width of the transition.</translation>
    </message>
    <message>
        <source>tooltip TiltColor Farbton</source>
        <translation>Hue by which the colours are turned or with which they are tinted.</translation>
    </message>
    <message>
        <source>tooltip TiltColor Intensität</source>
        <translation>Strength of the effect.</translation>
    </message>
    <message>
        <source>tooltip TiltColor Position</source>
        <translation>Position of the effect in the picture.</translation>
    </message>
    <message>
        <source>tooltip TiltShift Breite</source>
        <translation>Width of the transition.</translation>
    </message>
    <message>
        <source>tooltip TiltShift Farbe</source>
        <translation>Colour of the effect.</translation>
    </message>
    <message>
        <source>tooltip TiltShift Radius</source>
        <translation>Size of the neighbourhood, in pixels, evaluated around every pixel; larger values act over wider areas.</translation>
    </message>
    <message>
        <source>tooltip TiltShift Schärfegrenze</source>
        <translation>Line along which the picture stays sharp.</translation>
    </message>
    <message>
        <source>tooltip Twirl Größe</source>
        <translation>Size of the area affected.</translation>
    </message>
    <message>
        <source>tooltip Twirl Twist</source>
        <translation>Twist towards the centre.</translation>
    </message>
    <message>
        <source>tooltip Twirl Zentrum</source>
        <translation>Centre of the effect.</translation>
    </message>
    <message>
        <source>tooltip Twirl Zoom</source>
        <translation>Magnification that cuts away empty borders after the distortion.</translation>
    </message>
    <message>
        <source>tooltip VeilingGlare Maskierung</source>
        <translation>Curve that sets how strongly the operator acts depending on the brightness of each pixel.</translation>
    </message>
    <message>
        <source>tooltip VeilingGlare Radius</source>
        <translation>Size of the neighbourhood, in pixels, evaluated around every pixel; larger values act over wider areas.</translation>
    </message>
    <message>
        <source>tooltip VeilingGlare Stärke</source>
        <translation>Strength of the effect.</translation>
    </message>
    <message>
        <source>tooltip Vignette Farbton</source>
        <translation>Hue by which the colours are turned or with which they are tinted.</translation>
    </message>
    <message>
        <source>tooltip Vignette Intensität</source>
        <translation>Strength of the effect.</translation>
    </message>
    <message>
        <source>tooltip Vignette Position</source>
        <translation>Position of the effect in the picture.</translation>
    </message>
    <message>
        <source>tooltip Vignette Schärfe</source>
        <translation>How much sharpness and edge detail is kept.</translation>
    </message>
    <message>
        <source>tooltip Vignette Seitenverhältnis</source>
        <translation>Ratio of width to height of the shape.</translation>
    </message>
    <message>
        <source>tooltip Warp Leuchten</source>
        <translation>How strongly bright areas glow.</translation>
    </message>
    <message>
        <source>tooltip Warp Länge</source>
        <translation>Length of the smear.</translation>
    </message>
    <message>
        <source>tooltip Warp Maskierung</source>
        <translation>Curve that sets how strongly the operator acts depending on the brightness of each pixel.</translation>
    </message>
    <message>
        <source>tooltip Warp Zentrum</source>
        <translation>Centre of the effect.</translation>
    </message>
    <message>
        <source>tooltip WaxPaint Position</source>
        <translation>Position of the effect in the picture.</translation>
    </message>
    <message>
        <source>tooltip WaxPaint Radius</source>
        <translation>Size of the neighbourhood, in pixels, evaluated around every pixel; larger values act over wider areas.</translation>
    </message>
    <message>
        <source>tooltip WaxPaint Schärfe</source>
        <translation>How much sharpness and edge detail is kept.</translation>
    </message>
    <message>
        <source>tooltip Whitebalance Farbe</source>
        <translation>Colour of the effect.</translation>
    </message>
    <message>
        <source>tooltip manualbwpoint Schwarzpunkt</source>
        <translation>Brightness that becomes pure black.</translation>
    </message>
    <message>
        <source>tooltip manualbwpoint Weißpunkt</source>
        <translation>Brightness that becomes pure white.</translation>
    </message>
    <message>
        <source>tooltip percentbwpoint Lichter</source>
        <translation>Position of the highlights in the tonal distribution.</translation>
    </message>
    <message>
        <source>tooltip percentbwpoint Mitteltöne</source>
        <translation>Position of the midtones in the tonal distribution.</translation>
    </message>
    <message>
        <source>tooltip percentbwpoint Schatten</source>
        <translation>Position of the shadows in the tonal distribution.</translation>
    </message>
    <message>
        <source>viel</source>
        <translation>much</translation>
    </message>
    <message>
        <source>viele</source>
        <translation>many</translation>
    </message>
    <message>
        <source>warm</source>
        <translation>warm</translation>
    </message>
    <message>
        <source>weich</source>
        <translation>soft</translation>
    </message>
    <message>
        <source>wenig</source>
        <translation>little</translation>
    </message>
    <message>
        <source>wenige</source>
        <translation>few</translation>
    </message>
    <message>
        <source>weniger</source>
        <translation>less</translation>
    </message>
</context>
<context>
    <name>PPPresetCategory</name>
    <message>
        <source>architecture</source>
        <translation>Architecture</translation>
    </message>
    <message>
        <source>artistic</source>
        <translation>Artistic</translation>
    </message>
    <message>
        <source>landscape</source>
        <translation>Landscape</translation>
    </message>
    <message>
        <source>natural</source>
        <translation>Natural</translation>
    </message>
    <message>
        <source>portrait</source>
        <translation>Portrait</translation>
    </message>
    <message>
        <source>surreal</source>
        <translation>Surreal</translation>
    </message>
    <message>
        <source>user</source>
        <translation>User</translation>
    </message>
</context>
<context>
    <name>PPPreset</name>
    <message>
        <source>Bleach Bypass</source>
        <translation>Bleach bypass</translation>
    </message>
    <message>
        <source>Comic</source>
        <translation>Comic</translation>
    </message>
    <message>
        <source>Sepia</source>
        <translation>Sepia</translation>
    </message>
    <message>
        <source>Detail</source>
        <translation>detail</translation>
    </message>
    <message>
        <source>Farbe</source>
        <translation>colour</translation>
    </message>
    <message>
        <source>Schwarzweiß</source>
        <translation>black and white</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>standard</translation>
    </message>
    <message>
        <source>dramatisch</source>
        <translation>dramatic</translation>
    </message>
    <message>
        <source>dunkel</source>
        <translation>dark</translation>
    </message>
    <message>
        <source>klar</source>
        <translation>clear</translation>
    </message>
    <message>
        <source>kräftig</source>
        <translation>vivid</translation>
    </message>
    <message>
        <source>sanft</source>
        <translation>gentle</translation>
    </message>
    <message>
        <source>warm</source>
        <translation>warm</translation>
    </message>
    <message>
        <source>weich</source>
        <translation>soft</translation>
    </message>
</context>
<context>
    <name>HDROperators.xml</name>
    <message>
        <source>Durchschnitt</source>
        <translation>Average</translation>
    </message>
    <message>
        <source>Entrauschung</source>
        <translation>Noise reduction</translation>
    </message>
    <message>
        <source>Entropie</source>
        <translation>Entropy</translation>
    </message>
    <message>
        <source>Farbmix</source>
        <translation>Colour mix</translation>
    </message>
    <message>
        <source>Farbsättigung</source>
        <translation>Saturation</translation>
    </message>
    <message>
        <source>Glättung</source>
        <translation>Smoothing</translation>
    </message>
    <message>
        <source>Halo-Anpassung</source>
        <translation>Halo adjustment</translation>
    </message>
    <message>
        <source>Luminanz Distanz</source>
        <translation>Luminance distance</translation>
    </message>
    <message>
        <source>Luminanz Entropie</source>
        <translation>Luminance entropy</translation>
    </message>
    <message>
        <source>Luminanz RGB</source>
        <translation>Luminance RGB</translation>
    </message>
    <message>
        <source>Nacht</source>
        <translation>Night</translation>
    </message>
    <message>
        <source>Nacht-Tag</source>
        <translation>Night-day</translation>
    </message>
    <message>
        <source>Radius</source>
        <translation>Radius</translation>
    </message>
    <message>
        <source>Tag</source>
        <translation>Day</translation>
    </message>
    <message>
        <source>absolute Distanz</source>
        <translation>Absolute distance</translation>
    </message>
    <message>
        <source>gering</source>
        <translation>low</translation>
    </message>
    <message>
        <source>hart</source>
        <translation>hard</translation>
    </message>
    <message>
        <source>hoch</source>
        <translation>high</translation>
    </message>
    <message>
        <source>lineare Luminanz</source>
        <translation>Linear luminance</translation>
    </message>
    <message>
        <source>logarithmische Luminanz</source>
        <translation>Logarithmic luminance</translation>
    </message>
    <message>
        <source>niedrig</source>
        <translation>low</translation>
    </message>
    <message>
        <source>quadrische Luminanz</source>
        <translation>Quadratic luminance</translation>
    </message>
    <message>
        <source>scharf</source>
        <translation>sharp</translation>
    </message>
    <message>
        <source>tooltip Entrauschung</source>
        <translation>Smooths the noise of dark exposures</translation>
    </message>
    <message>
        <source>tooltip Glättung</source>
        <translation>Softer transitions between the exposures</translation>
    </message>
    <message>
        <source>tooltip Halo Anpassung</source>
        <translation>Suppresses bright and dark fringes at edges</translation>
    </message>
    <message>
        <source>tooltip MP_calcPixelFastHDRabsdist</source>
        <translation>Weights by the absolute distance from mid-grey</translation>
    </message>
    <message>
        <source>tooltip MP_calcPixelFastHDRdistance</source>
        <translation>Weights by the distance of the luminance from mid-grey</translation>
    </message>
    <message>
        <source>tooltip MP_calcPixelFastHDRentropy</source>
        <translation>Weights each exposure by its information content</translation>
    </message>
    <message>
        <source>tooltip MP_calcPixelFastHDRrgrbgb</source>
        <translation>Weights the colour channels separately</translation>
    </message>
    <message>
        <source>tooltip MP_calcPixelHDRaverage</source>
        <translation>Averages every exposure with equal weight</translation>
    </message>
    <message>
        <source>tooltip MP_calcPixelHDRlinear</source>
        <translation>Weights linearly by luminance</translation>
    </message>
    <message>
        <source>tooltip MP_calcPixelHDRloglinear</source>
        <translation>Weights logarithmically by luminance</translation>
    </message>
    <message>
        <source>tooltip MP_calcPixelHDRlumentropy</source>
        <translation>Weights by the entropy of the luminance</translation>
    </message>
    <message>
        <source>tooltip MP_calcPixelHDRlumrgb</source>
        <translation>Weights by luminance and colour</translation>
    </message>
    <message>
        <source>tooltip MP_calcPixelHDRquadriclinear</source>
        <translation>Weights quadratically by luminance</translation>
    </message>
    <message>
        <source>tooltip MP_calcPixelHDRsatlig</source>
        <translation>Weights by saturation and lightness</translation>
    </message>
    <message>
        <source>tooltip Nacht-Tag</source>
        <translation>Shifts the weighting towards darker or brighter exposures</translation>
    </message>
    <message>
        <source>tooltip Radius</source>
        <translation>Radius of the neighbourhood the weights come from</translation>
    </message>
    <message>
        <source>weich</source>
        <translation>soft</translation>
    </message>
</context>
</TS>
