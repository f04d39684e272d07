<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Benchmark</name>
    <message>
        <source>Strukturbeleuchtung</source>
        <translation>Strukturbeleuchtung</translation>
    </message>
    <message>
        <source>Geometrie</source>
        <translation>Geometrie</translation>
    </message>
    <message>
        <source>Details extrahieren</source>
        <translation>Details extrahieren</translation>
    </message>
    <message>
        <source>Farbtöne</source>
        <translation>Farbtöne</translation>
    </message>
    <message>
        <source>Skizze</source>
        <translation>Skizze</translation>
    </message>
    <message>
        <source>Benchmark</source>
        <translation>Benchmark</translation>
    </message>
    <message>
        <source>Ihr Ergebnis</source>
        <translation>Ihr Ergebnis</translation>
    </message>
    <message>
        <source>Marks</source>
        <translation>Punkte</translation>
    </message>
</context>
<context>
    <name>CCompareDockWidget</name>
    <message>
        <source>tooltip Compare Window Vertikal</source>
        <translation>Vertikale Trennlinie: links das Bild vor, rechts nach dem aktuellen Schritt</translation>
    </message>
    <message>
        <source>tooltip Compare Window Horizontal</source>
        <translation>Horizontale Trennlinie: oben vorher, unten nachher</translation>
    </message>
    <message>
        <source>tooltip Compare Window Diagonal1</source>
        <translation>Diagonale Trennlinie von rechts oben nach links unten</translation>
    </message>
    <message>
        <source>tooltip Compare Window Diagonal2</source>
        <translation>Diagonale Trennlinie von links oben nach rechts unten</translation>
    </message>
    <message>
        <source>tooltip Compare Window Buffer Flip</source>
        <translation>Seiten tauschen: vorher und nachher wechseln die Seite der Trennlinie</translation>
    </message>
    <message>
        <source>tooltip Compare Window Luminance Toggle</source>
        <translation>Helligkeitsmarkierung ein oder aus: schraffiert die Bildpunkte im gewählten Helligkeitsbereich</translation>
    </message>
    <message>
        <source>tooltip Compare Window Luminance Mode</source>
        <translation>Markierungsart wechseln: um die beiden Schwellen, zwischen ihnen oder außerhalb</translation>
    </message>
    <message>
        <source>tooltip Compare Window Luminance Thresholds</source>
        <translation>Untere und obere Helligkeitsschwelle: die Griffe ziehen</translation>
    </message>
</context>
<context>
    <name>CCropWindow</name>
    <message>
        <source>Crop Window Title</source>
        <translation>Zuschneiden und Beschriften</translation>
    </message>
    <message>
        <source>Texteingabe</source>
        <translation>Texteingabe</translation>
    </message>
    <message>
        <source>tooltip Crop Window SubTitle</source>
        <translation>Bildunterschrift, die in das gespeicherte Bild geschrieben wird: eine Zeile Text</translation>
    </message>
    <message>
        <source>tooltip Crop Window Background</source>
        <translation>Dunkler Kasten hinter dem Text: hält ihn auf hellen Bildteilen lesbar</translation>
    </message>
    <message>
        <source>tooltip Crop Window Font Small</source>
        <translation>Kleine Schrift</translation>
    </message>
    <message>
        <source>tooltip Crop Window Font Normal</source>
        <translation>Mittlere Schrift</translation>
    </message>
    <message>
        <source>tooltip Crop Window Font Large</source>
        <translation>Große Schrift</translation>
    </message>
    <message>
        <source>tooltip Crop Window Position Bottom</source>
        <translation>Text am unteren Rand des Ausschnitts</translation>
    </message>
    <message>
        <source>tooltip Crop Window Position Top</source>
        <translation>Text am oberen Rand des Ausschnitts</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>tooltip Crop Window Reset</source>
        <translation>Wieder das ganze Bild, kein Text, mittlere Schrift unten</translation>
    </message>
    <message>
        <source>Speichern</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>tooltip Crop Window Speichern</source>
        <translation>Bild mit diesem Ausschnitt und Text speichern</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>tooltip Crop Window Abbrechen</source>
        <translation>Schließen, ohne zu speichern</translation>
    </message>
</context>
<context>
    <name>CExposureSeries</name>
    <message>
        <source>Belichtungsreihenbild wird dekomprimiert</source>
        <translation>Belichtungsreihenbild wird dekomprimiert</translation>
    </message>
    <message>
        <source>Belichtungsreihenbild wird komprimiert</source>
        <translation>Belichtungsreihenbild wird komprimiert</translation>
    </message>
    <message>
        <source>Berechne HDR-Bild</source>
        <translation>Berechne HDR-Bild</translation>
    </message>
    <message>
        <source>Bild wird vorbereitet</source>
        <translation>Bild wird vorbereitet</translation>
    </message>
    <message>
        <source>Bitte Geduld</source>
        <translation>Bitte Geduld</translation>
    </message>
    <message>
        <source>Dateifehler:</source>
        <translation>Dateifehler:</translation>
    </message>
    <message>
        <source>Die geladene Bilddatei hat eine zu geringe Auflösung.</source>
        <translation>Die geladene Bilddatei hat eine zu geringe Auflösung.</translation>
    </message>
    <message>
        <source>Die geladene Bilddatei hat nicht die passene Auflösung.</source>
        <translation>Die geladene Bilddatei hat nicht die passene Auflösung.</translation>
    </message>
    <message>
        <source>Die maximale Anzahl ladbarer Bilddateien ist erreicht.</source>
        <translation>Die maximale Anzahl ladbarer Bilddateien ist erreicht.</translation>
    </message>
    <message>
        <source>Eine Datei konnte nicht geschrieben werden</source>
        <translation>Eine Datei konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>Erzeuge Gewichtungsmaps</source>
        <translation>Erzeuge Gewichtungsmaps</translation>
    </message>
    <message>
        <source>Erzeuge Luminanz-Karte</source>
        <translation>Erzeuge Luminanz-Karte</translation>
    </message>
    <message>
        <source>Erzeuge Previewbilder</source>
        <translation>Erzeuge Previewbilder</translation>
    </message>
    <message>
        <source>Erzeuge synthetische Bilder</source>
        <translation>Erzeuge synthetische Bilder</translation>
    </message>
    <message>
        <source>Es konnten nicht alle Bilder geladen werden.</source>
        <translation>Es konnten nicht alle Bilder geladen werden.</translation>
    </message>
    <message>
        <source>Fusioniere Belichtungsreihe</source>
        <translation>Fusioniere Belichtungsreihe</translation>
    </message>
    <message>
        <source>HDR-Berechnung abgeschlossen</source>
        <translation>HDR-Berechnung abgeschlossen</translation>
    </message>
    <message>
        <source>Lade Projektdatei.</source>
        <translation>Lade Projektdatei.</translation>
    </message>
    <message>
        <source>Projekt could not be loaded</source>
        <translation>Projekt konnte nicht geladen werden</translation>
    </message>
    <message>
        <source>Projekt geladen</source>
        <translation>Projekt geladen</translation>
    </message>
    <message>
        <source>Projekt gespeichert</source>
        <translation>Projekt gespeichert</translation>
    </message>
    <message>
        <source>Speichere Projektdatei.</source>
        <translation>Speichere Projektdatei.</translation>
    </message>
    <message>
        <source>Berechne Bildausrichtung</source>
        <translation>Berechne Bildausrichtung</translation>
    </message>
    <message>
        <source>wird temporär umbelichtet</source>
        <translation>wird temporär umbelichtet</translation>
    </message>
    <message>
        <source>wurde erfolgreich ausgerichtet</source>
        <translation>wurde erfolgreich ausgerichtet</translation>
    </message>
    <message>
        <source>enthält zu wenig Information</source>
        <translation>enthält zu wenig Information</translation>
    </message>
    <message>
        <source>benötigt keine Ausrichtung</source>
        <translation>benötigt keine Ausrichtung</translation>
    </message>
    <message>
        <source>erreichte keine Verbesserung</source>
        <translation>erreichte keine Verbesserung</translation>
    </message>
    <message>
        <source>nicht genug freier Speicher verfügbar</source>
        <translation>nicht genug freier Speicher verfügbar</translation>
    </message>
    <message>
        <source>enthält einen Leerzeiger</source>
        <translation>enthält einen Leerzeiger</translation>
    </message>
    <message>
        <source>Masterbild wird temporär umbelichtet</source>
        <translation>Masterbild wird temporär umbelichtet</translation>
    </message>
    <message>
        <source>Berechne Rotate-Bildausrichtung</source>
        <translation>Berechne Rotate-Bildausrichtung</translation>
    </message>
    <message>
        <source>Berechne Verschiebungs-Bildausrichtung</source>
        <translation>Berechne Verschiebungs-Bildausrichtung</translation>
    </message>
    <message>
        <source>Berechne Zoom-Bildausrichtung</source>
        <translation>Berechne Zoom-Bildausrichtung</translation>
    </message>
    <message>
        <source>Berechne Detail-Bildausrichtung</source>
        <translation>Berechne Detail-Bildausrichtung</translation>
    </message>
    <message>
        <source>Berechne Mikrodetail-Bildausrichtung</source>
        <translation>Berechne Mikrodetail-Bildausrichtung</translation>
    </message>
    <message>
        <source>Unnötige Bereiche werden entfernt</source>
        <translation>Unnötige Bereiche werden entfernt</translation>
    </message>
    <message>
        <source>Masterbild wird wieder hergestellt</source>
        <translation>Masterbild wird wieder hergestellt</translation>
    </message>
    <message>
        <source>Erstelle Preview Belichtungsreihe</source>
        <translation>Erstelle Preview Belichtungsreihe</translation>
    </message>
    <message>
        <source>Ermittle Geisterbilder</source>
        <translation>Ermittle Geisterbilder</translation>
    </message>
    <message>
        <source>Glätte Geisterbildbereiche</source>
        <translation>Glätte Geisterbildbereiche</translation>
    </message>
    <message>
        <source>Berechne Belichtungsreihen Optimierung</source>
        <translation>Berechne Belichtungsreihen Optimierung</translation>
    </message>
    <message>
        <source>Belichtungen werden ermittelt</source>
        <translation>Belichtungen werden ermittelt</translation>
    </message>
    <message>
        <source>Belichtungsreihen Optimierung abgeschlossen</source>
        <translation>Belichtungsreihen Optimierung abgeschlossen</translation>
    </message>
</context>
<context>
    <name>CGeometryPainter</name>
    <message>
        <source>Geometry Painter</source>
        <translation>Geometrie-Editor</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>Beenden</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Ja</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>Nein</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Alle Geometrien löschen</source>
        <translation>Alle Geometrien löschen</translation>
    </message>
    <message>
        <source>Sollen alle Geometrien wirklich gelöscht werden?</source>
        <translation>Sollen alle Geometrien wirklich gelöscht werden?</translation>
    </message>
    <message>
        <source>Rundung</source>
        <translation>Rundung</translation>
    </message>
    <message>
        <source>Raute</source>
        <translation>Raute</translation>
    </message>
    <message>
        <source>Rechteck</source>
        <translation>Rechteck</translation>
    </message>
    <message>
        <source>Schärfe</source>
        <translation>Schärfe</translation>
    </message>
    <message>
        <source>Weich</source>
        <translation>Weich</translation>
    </message>
    <message>
        <source>Scharf</source>
        <translation>Scharf</translation>
    </message>
    <message>
        <source>Stärke</source>
        <translation>Stärke</translation>
    </message>
    <message>
        <source>Gering</source>
        <translation>Gering</translation>
    </message>
    <message>
        <source>Hoch</source>
        <translation>Hoch</translation>
    </message>
    <message>
        <source>Darstellung stark</source>
        <translation>Darstellung stark</translation>
    </message>
    <message>
        <source>Darstellung normal</source>
        <translation>Darstellung normal</translation>
    </message>
    <message>
        <source>Darstellung schwach</source>
        <translation>Darstellung schwach</translation>
    </message>
    <message>
        <source>tooltip Geometry Window Exponent</source>
        <translation>Form der ausgewählten Geometrie: von der Raute über die Ellipse bis zum Rechteck.</translation>
    </message>
    <message>
        <source>tooltip Geometry Window Sharpness</source>
        <translation>Härte des Randes der ausgewählten Geometrie.</translation>
    </message>
    <message>
        <source>tooltip Geometry Window Intensity</source>
        <translation>Stärke der ausgewählten Geometrie.</translation>
    </message>
    <message>
        <source>tooltip Geometry Window Reset</source>
        <translation>Löscht alle Geometrien.</translation>
    </message>
    <message>
        <source>tooltip Geometry Window Add Positive</source>
        <translation>Fügt eine Geometrie hinzu, in der der Filter wirkt.</translation>
    </message>
    <message>
        <source>tooltip Geometry Window Add Negative</source>
        <translation>Fügt eine Geometrie hinzu, in der der Filter nicht wirkt.</translation>
    </message>
    <message>
        <source>tooltip Geometry Window Invert Selected</source>
        <translation>Kehrt die Wirkung der ausgewählten Geometrie um.</translation>
    </message>
    <message>
        <source>tooltip Geometry Window Duplicate Selected</source>
        <translation>Verdoppelt die ausgewählte Geometrie in die Bildmitte.</translation>
    </message>
    <message>
        <source>tooltip Geometry Window Delete Selected</source>
        <translation>Löscht die ausgewählte Geometrie.</translation>
    </message>
    <message>
        <source>tooltip Geometry Window Display Geometries None</source>
        <translation>Zeigt das Bild ohne Maske.</translation>
    </message>
    <message>
        <source>tooltip Geometry Window Display Geometries Single</source>
        <translation>Zeigt die Maske der ausgewählten Geometrie; rechte Maustaste: Stärke der Darstellung.</translation>
    </message>
    <message>
        <source>tooltip Geometry Window Display Geometries All</source>
        <translation>Zeigt die Maske aller Geometrien; rechte Maustaste: Stärke der Darstellung.</translation>
    </message>
    <message>
        <source>tooltip Geometry Window Beenden</source>
        <translation>Schließt das Fenster.</translation>
    </message>
</context>
<context>
    <name>CImageLoader</name>
    <message>
        <source>Ladevorgang</source>
        <translation>Ladevorgang</translation>
    </message>
    <message>
        <source>Lade Bild</source>
        <translation>Lade Bild</translation>
    </message>
    <message>
        <source>Prüfe Datei</source>
        <translation>Prüfe Datei</translation>
    </message>
</context>
<context>
    <name>CLoadThread</name>
    <message>
        <source>Datei beschädigt oder unvollständig</source>
        <translation>Datei beschädigt oder unvollständig</translation>
    </message>
    <message>
        <source>Datei ist kein Bild</source>
        <translation>Datei ist kein Bild</translation>
    </message>
</context>
<context>
    <name>CStencilPainter</name>
    <message>
        <source>Stencil Painter</source>
        <translation>Korrekturpinsel</translation>
    </message>
    <message>
        <source>Größe</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Beenden</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Korrektureinheiten</source>
        <translation>Korrektureinheiten</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Alle Korrekturen löschen</source>
        <translation>Alle Korrekturen löschen</translation>
    </message>
    <message>
        <source>Sollen alle Korrekturen wirklich gelöscht werden?</source>
        <translation>Sollen alle Korrekturen wirklich gelöscht werden?</translation>
    </message>
    <message>
        <source>Ja</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>Nein</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>tooltip Stencil Window Show Variation</source>
        <translation>Zeigt die Struktur des Bildes, so dass Kratzer und Staub deutlich hervortreten.</translation>
    </message>
    <message>
        <source>tooltip Stencil Window Variation Intensity</source>
        <translation>Stärke der Strukturansicht.</translation>
    </message>
    <message>
        <source>tooltip Stencil Window Stencil Active</source>
        <translation>Zeigt das Bild mit allen Korrekturen; ausgeschaltet das unveränderte Bild.</translation>
    </message>
    <message>
        <source>tooltip Stencil Window Show Sources</source>
        <translation>Zeigt die Quellen aller Korrekturen und ihre Verbindung zum Ziel.</translation>
    </message>
    <message>
        <source>tooltip Stencil Window Recalc All</source>
        <translation>Sucht für alle automatischen Korrekturen die beste Quelle neu.</translation>
    </message>
    <message>
        <source>tooltip Stencil Window Delete All</source>
        <translation>Löscht alle Korrekturen.</translation>
    </message>
    <message>
        <source>tooltip Stencil Window New Stencil</source>
        <translation>Setzt mit dem nächsten Klick in das Bild eine neue Korrektur.</translation>
    </message>
    <message>
        <source>tooltip Stencil Window New Stencil Size</source>
        <translation>Größe der nächsten neuen Korrektur.</translation>
    </message>
    <message>
        <source>tooltip Stencil Window Stencil Size</source>
        <translation>Größe der ausgewählten Korrektur.</translation>
    </message>
    <message>
        <source>tooltip Stencil Window Best Match</source>
        <translation>Sucht für die ausgewählte Korrektur automatisch die beste Quelle.</translation>
    </message>
    <message>
        <source>tooltip Stencil Window Delete</source>
        <translation>Löscht die ausgewählte Korrektur.</translation>
    </message>
    <message>
        <source>tooltip Stencil Window Finish</source>
        <translation>Schließt das Fenster.</translation>
    </message>
</context>
<context>
    <name>CTextureSelector</name>
    <message>
        <source>Texture Selector</source>
        <translation>Texturauswahl</translation>
    </message>
</context>
<context>
    <name>HDRAboutWindow</name>
    <message>
        <source>Über Lumivex</source>
        <translation>Über Lumivex</translation>
    </message>
    <message>
        <source>About Groupbox Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>LUMIVEX About copyright text &amp; links</source>
        <translation>&lt;b&gt;Version und Rechtliches&lt;/b&gt;&lt;/H4&gt;&lt;p&gt;Lumivex verbindet Belichtungsreihen und Einzelbilder zu fertigen Bildern.&lt;/p&gt;&lt;p&gt;Copyright &amp;copy; Lumivex-Team. Alle Rechte vorbehalten. Das Programm wird ohne jede Gewährleistung bereitgestellt; für Schäden durch seine Nutzung wird nicht gehaftet, soweit das Gesetz dies zulässt.&lt;/p&gt;&lt;p&gt;Neuigkeiten, Hilfe und Updates: &lt;a href=&quot;https://CODE_HOMEPAGEURL&quot;&gt;CODE_HOMEPAGEURL&lt;/a&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>About Groupbox Credits</source>
        <translation>Danksagungen</translation>
    </message>
    <message>
        <source>About credits Liste</source>
        <translation>&lt;p&gt;Lumivex verwendet diese Bibliotheken und dankt ihren Autorinnen und Autoren:&lt;/p&gt;&lt;ul&gt;&lt;li&gt;&lt;b&gt;Qt 6&lt;/b&gt; &amp;ndash; Benutzeroberfläche, Dateien, Einstellungen und Drucken (&lt;a href=&quot;https://www.qt.io/&quot;&gt;qt.io&lt;/a&gt;)&lt;/li&gt;&lt;li&gt;&lt;b&gt;FreeImage&lt;/b&gt; &amp;ndash; Lesen und Schreiben der Bilddateien und ihrer Metadaten (&lt;a href=&quot;https://freeimage.sourceforge.io/&quot;&gt;freeimage.sourceforge.io&lt;/a&gt;)&lt;/li&gt;&lt;li&gt;mit FreeImage: &lt;b&gt;libjpeg&lt;/b&gt; der Independent JPEG Group, &lt;b&gt;libpng&lt;/b&gt;, &lt;b&gt;libtiff&lt;/b&gt;, &lt;b&gt;zlib&lt;/b&gt;, &lt;b&gt;OpenJPEG&lt;/b&gt;, &lt;b&gt;OpenEXR&lt;/b&gt;, &lt;b&gt;LibRaw&lt;/b&gt; und &lt;b&gt;libwebp&lt;/b&gt;&lt;/li&gt;&lt;/ul&gt;&lt;p&gt;Dank auch an alle, die Fehler gemeldet und Ideen beigetragen haben.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>About Groupbox License</source>
        <translation>Lizenzen</translation>
    </message>
    <message>
        <source>About License Liste</source>
        <translation>&lt;p&gt;&lt;b&gt;Qt 6&lt;/b&gt;: GNU Lesser General Public License Version 3 (LGPLv3).&lt;br/&gt;&lt;b&gt;FreeImage&lt;/b&gt;: FreeImage Public License Version 1.0 (wahlweise GNU GPL Version 2 oder 3).&lt;br/&gt;&lt;b&gt;libjpeg&lt;/b&gt;: Lizenz der Independent JPEG Group; dieses Programm beruht teilweise auf der Arbeit der Independent JPEG Group.&lt;br/&gt;&lt;b&gt;libpng&lt;/b&gt;: PNG Reference Library License. &lt;b&gt;libtiff&lt;/b&gt;: libtiff-Lizenz (BSD-artig). &lt;b&gt;zlib&lt;/b&gt;: zlib-Lizenz.&lt;br/&gt;&lt;b&gt;OpenJPEG&lt;/b&gt;: BSD-2-Clause. &lt;b&gt;OpenEXR&lt;/b&gt;: BSD-3-Clause. &lt;b&gt;LibRaw&lt;/b&gt;: LGPL 2.1 oder CDDL 1.0. &lt;b&gt;libwebp&lt;/b&gt;: BSD-3-Clause.&lt;/p&gt;&lt;p&gt;Die vollständigen Lizenztexte liegen den Bibliotheken bei.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>About verlassen</source>
        <translation>Fenster schließen</translation>
    </message>
</context>
<context>
    <name>HDRBatchExposureWidget</name>
    <message>
        <source>gefundene Belichtungsreihe lumivex</source>
        <translation>Gefundenes Bild: mit dem Häkchen wird es berechnet und gespeichert. Rechtsklick für weitere Möglichkeiten.</translation>
    </message>
    <message>
        <source>gefundene Belichtungsreihe lumivex Browser</source>
        <translation>Gefundenes Bild: Rechtsklick und „Als Projekt öffnen“ öffnet es im Hauptfenster.</translation>
    </message>
    <message>
        <source>Als Projekt öffnen</source>
        <translation>Als Projekt öffnen</translation>
    </message>
    <message>
        <source>Bild deaktivieren</source>
        <translation>Bild deaktivieren</translation>
    </message>
    <message>
        <source>Bild entfernen</source>
        <translation>Bild entfernen</translation>
    </message>
    <message>
        <source>Bildvorbereitung</source>
        <translation>Bildvorbereitung</translation>
    </message>
    <message>
        <source>Belichtungsreihe konnte nicht geladen werden.</source>
        <translation>Belichtungsreihe konnte nicht geladen werden.</translation>
    </message>
    <message>
        <source>Post Processing</source>
        <translation>Nachbearbeitung</translation>
    </message>
</context>
<context>
    <name>HDRBatchProcessThread</name>
    <message>
        <source>abgeschlossen</source>
        <translation>abgeschlossen</translation>
    </message>
    <message>
        <source>geschätze Restzeit</source>
        <translation>geschätzte Restzeit</translation>
    </message>
    <message>
        <source>Minuten</source>
        <translation>Minuten</translation>
    </message>
    <message>
        <source>Minute</source>
        <translation>Minute</translation>
    </message>
    <message>
        <source>Sekunden</source>
        <translation>Sekunden</translation>
    </message>
    <message>
        <source>Sekunde</source>
        <translation>Sekunde</translation>
    </message>
    <message>
        <source>Speichere</source>
        <translation>Speichere</translation>
    </message>
</context>
<context>
    <name>HDRBatchWindow</name>
    <message>
        <source>Bilder</source>
        <translation>Bilder</translation>
    </message>
    <message>
        <source>Stapelverarbeitung</source>
        <translation>Stapelverarbeitung</translation>
    </message>
    <message>
        <source>Quelldaten</source>
        <translation>Quelldaten</translation>
    </message>
    <message>
        <source>Quellordner:</source>
        <translation>Quellordner:</translation>
    </message>
    <message>
        <source>Zuordnung:</source>
        <translation>Zuordnung:</translation>
    </message>
    <message>
        <source>Automatische Zuordnung</source>
        <translation>Automatische Zuordnung</translation>
    </message>
    <message>
        <source>Einzelbilder</source>
        <translation>Einzelbilder</translation>
    </message>
    <message>
        <source>%1-Bilder Gruppierung</source>
        <translation>%1-Bilder Gruppierung</translation>
    </message>
    <message>
        <source>Unterverzeichnisse einbeziehen</source>
        <translation>Unterverzeichnisse einbeziehen</translation>
    </message>
    <message>
        <source>Ausgabedaten</source>
        <translation>Ausgabedaten</translation>
    </message>
    <message>
        <source>Zielordner:</source>
        <translation>Zielordner:</translation>
    </message>
    <message>
        <source>Zielformat:</source>
        <translation>Zielformat:</translation>
    </message>
    <message>
        <source>TIF 8-Bit (*.tif)</source>
        <translation>TIF 8-Bit (*.tif)</translation>
    </message>
    <message>
        <source>Jpeg 8-Bit (*.jpg)</source>
        <translation>Jpeg 8-Bit (*.jpg)</translation>
    </message>
    <message>
        <source>TIFF 16-Bit (*.tiff)</source>
        <translation>TIFF 16-Bit (*.tiff)</translation>
    </message>
    <message>
        <source>PNG 16-Bit (*.png)</source>
        <translation>PNG 16-Bit (*.png)</translation>
    </message>
    <message>
        <source>Jpeg 16-Bit (*.jp2)</source>
        <translation>Jpeg 16-Bit (*.jp2)</translation>
    </message>
    <message>
        <source>Dateien auf Festplatte umsortieren</source>
        <translation>Dateien auf Festplatte umsortieren</translation>
    </message>
    <message>
        <source>Verarbeitung</source>
        <translation>Verarbeitung</translation>
    </message>
    <message>
        <source>360 Grad Panorama mode</source>
        <translation>360-Grad-Panoramamodus</translation>
    </message>
    <message>
        <source>automatische Bildoptimierung</source>
        <translation>automatische Bildoptimierung</translation>
    </message>
    <message>
        <source>PP Voreinstellung Color/Tavren:</source>
        <translation>PP-Voreinstellung:</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Batchbutton Beenden</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Starten</source>
        <translation>Starten</translation>
    </message>
    <message>
        <source>Bitte gültigen Quell &amp; Zielordner wählen...</source>
        <translation>Bitte gültigen Quell- &amp; Zielordner wählen...</translation>
    </message>
    <message>
        <source>Bilddaten-Browser</source>
        <translation>Bilddaten-Browser</translation>
    </message>
    <message>
        <source>HDRBatchWindow Infotext lumivex</source>
        <translation>&lt;h3&gt;Stapelverarbeitung&lt;/h3&gt;&lt;p&gt;Wählen Sie einen Quellordner: jedes Bild darin erscheint mit einer Vorschau in der Liste. Wählen Sie einen Zielordner, das Zielformat und eine Voreinstellung für das Post-Processing und drücken Sie „Starten“.&lt;/p&gt;&lt;p&gt;Jedes angehakte Bild wird in voller Größe berechnet und unter seinem Namen im Zielordner gespeichert; vorhandene Dateien werden nie überschrieben, der neue Name bekommt eine Nummer.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>HDRBatchWindowBrowser Infotext lumivex</source>
        <translation>&lt;h3&gt;Bilddaten-Browser&lt;/h3&gt;&lt;p&gt;Alle Bilder des Quellordners werden mit einer Vorschau gezeigt. Mit einem Rechtsklick und „Als Projekt öffnen“ wird ein Bild im Hauptfenster geöffnet.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Quellpfad auswählen</source>
        <translation>Quellordner auswählen</translation>
    </message>
    <message>
        <source>Zielpfad auswählen</source>
        <translation>Zielordner auswählen</translation>
    </message>
    <message>
        <source>Der Quellordner wird nach Dateien durchsucht.</source>
        <translation>Der Quellordner wird nach Dateien durchsucht.</translation>
    </message>
    <message>
        <source>Der Quellordner enthält keine Bilddateien.</source>
        <translation>Der Quellordner enthält keine Bilddateien.</translation>
    </message>
    <message>
        <source>Order wird nach Bildmaterial durchsucht...</source>
        <translation>Ordner wird nach Bildmaterial durchsucht...</translation>
    </message>
    <message>
        <source>Previews der gefundenen Bilder werden erzeugt...</source>
        <translation>Vorschauen der gefundenen Bilder werden erzeugt...</translation>
    </message>
    <message>
        <source>Bilder anpassen oder Berechnung starten</source>
        <translation>Bilder anpassen oder Berechnung starten</translation>
    </message>
    <message>
        <source>starte...</source>
        <translation>starte...</translation>
    </message>
    <message>
        <source>Progress Stapelverarbeitung starten</source>
        <translation>Stapelverarbeitung wird gestartet</translation>
    </message>
    <message>
        <source>Wird abgebrochen</source>
        <translation>Wird abgebrochen</translation>
    </message>
    <message>
        <source>Tooltip Quellpfad auswählen</source>
        <translation>Ordner mit den zu verarbeitenden Bildern wählen</translation>
    </message>
    <message>
        <source>Zuordnungsverfahren wählen</source>
        <translation>Verfahren wählen, mit dem Bilder zu Reihen gruppiert werden</translation>
    </message>
    <message>
        <source>Checkbox rekursiv</source>
        <translation>Auch die Bilder aller Unterordner einlesen</translation>
    </message>
    <message>
        <source>Tooltip Ausgabepfad auswählen</source>
        <translation>Ordner für die berechneten Bilder wählen</translation>
    </message>
    <message>
        <source>Speicherformat wählen</source>
        <translation>Dateiformat der berechneten Bilder wählen</translation>
    </message>
    <message>
        <source>tooltip Dateien auf Festplatte umsortieren</source>
        <translation>Quelldateien nach der Berechnung umsortieren</translation>
    </message>
    <message>
        <source>Batch HDR Preset</source>
        <translation>HDR-Voreinstellung der Stapelverarbeitung</translation>
    </message>
    <message>
        <source>tooltip 360 Grad Panorama mode</source>
        <translation>Bilder als 360-Grad-Panoramen behandeln: Filter laufen über den linken und rechten Rand hinweg</translation>
    </message>
    <message>
        <source>tooltip automatische Bildoptimierung</source>
        <translation>Bilder automatisch optimieren</translation>
    </message>
    <message>
        <source>Batch PostProcessing Preset</source>
        <translation>Voreinstellung, mit der jedes Bild nachbearbeitet wird</translation>
    </message>
    <message>
        <source>Batch Einzelbildbereich</source>
        <translation>Die gefundenen Bilder: nur angehakte werden berechnet</translation>
    </message>
    <message>
        <source>Stapelverarbeitung auf Standardwerte zurücksetzen</source>
        <translation>Stapelverarbeitung auf Standardwerte zurücksetzen</translation>
    </message>
    <message>
        <source>Stapelverarbeitung Abbrechen</source>
        <translation>Fenster schließen, ohne zu berechnen</translation>
    </message>
    <message>
        <source>Stapelverarbeitung starten</source>
        <translation>Alle angehakten Bilder berechnen und speichern</translation>
    </message>
    <message>
        <source>Browser beenden</source>
        <translation>Bilddaten-Browser schließen</translation>
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
        <translation>Beenden</translation>
    </message>
    <message>
        <source>tooltip BenchnarkWindow verlassen</source>
        <translation>Benchmark beenden und Fenster schließen</translation>
    </message>
</context>
<context>
    <name>HDRExposureDockWidget</name>
    <message>
        <source>HDR WeightPresets</source>
        <translation>HDR-Gewichtung</translation>
    </message>
    <message>
        <source>tooltip HDRWeightPreset Groupbox</source>
        <translation>Wie die Bilder der Reihe gegeneinander gewichtet werden</translation>
    </message>
    <message>
        <source>HDR WeightPreset custom</source>
        <translation>Eigene Gewichtung</translation>
    </message>
    <message>
        <source>HDR WeightPreset equal</source>
        <translation>Gleiche Gewichtung</translation>
    </message>
    <message>
        <source>HDR WeightPreset Luminance</source>
        <translation>Nach Helligkeit</translation>
    </message>
    <message>
        <source>HDR WeightPreset Congruence</source>
        <translation>Nach Übereinstimmung</translation>
    </message>
    <message>
        <source>HDR WeightPreset LuminanceCongruence</source>
        <translation>Nach Helligkeit und Übereinstimmung</translation>
    </message>
    <message>
        <source>tooltip Belichtungsreihenbild an/aus</source>
        <translation>Bild für die HDR-Berechnung ein- oder ausschalten</translation>
    </message>
    <message numerus="yes">
        <source>Belichtungsreihe mit %n Bild(ern)</source>
        <translation>
            <numerusform>Belichtungsreihe mit %n Bild</numerusform>
            <numerusform>Belichtungsreihe mit %n Bildern</numerusform>
        </translation>
    </message>
    <message>
        <source>Belichtungsreihe</source>
        <translation>Belichtungsreihe</translation>
    </message>
    <message>
        <source>HDRExposureDockWidget lumivex</source>
        <translation>&lt;h3&gt;Belichtungsreihe&lt;/h3&gt;&lt;p&gt;Hier sehen Sie das Bild des Dokuments mit seiner Gewichtungskarte.&lt;/p&gt;&lt;ul&gt;&lt;li&gt;Ein Klick auf das Bild zeigt es in der Vorschau, ein Klick auf die Gewichtungskarte zeigt, welche Bereiche das HDR-Bild bestimmen; ein zweiter Klick führt zum Ergebnis zurück.&lt;/li&gt;&lt;li&gt;&lt;b&gt;Globales Gewicht&lt;/b&gt; legt fest, wie stark das Bild in das HDR-Bild eingeht.&lt;/li&gt;&lt;li&gt;&lt;b&gt;Belichtungswert&lt;/b&gt; hellt das Bild auf oder dunkelt es ab, bevor es verrechnet wird.&lt;/li&gt;&lt;/ul&gt;</translation>
    </message>
</context>
<context>
    <name>HDRExposureGroupBox</name>
    <message>
        <source>tooltip Belichtungsreihenbild</source>
        <translation>Bild in der Vorschau zeigen</translation>
    </message>
    <message>
        <source>tooltip Gewichtungsbild</source>
        <translation>Gewichtungskarte in der Vorschau zeigen</translation>
    </message>
    <message>
        <source>Master</source>
        <translation>Master</translation>
    </message>
    <message>
        <source>Bild entfernen</source>
        <translation>Bild aus der Reihe entfernen</translation>
    </message>
    <message>
        <source>Globales Gewicht</source>
        <translation>Globales Gewicht</translation>
    </message>
    <message>
        <source>schwach</source>
        <translation>schwach</translation>
    </message>
    <message>
        <source>stark</source>
        <translation>stark</translation>
    </message>
    <message>
        <source>tooltip Global weight slider</source>
        <translation>Wie stark das Bild in das HDR-Bild eingeht</translation>
    </message>
    <message>
        <source>Belichtungswert</source>
        <translation>Belichtungswert</translation>
    </message>
    <message>
        <source>dunkel</source>
        <translation>dunkel</translation>
    </message>
    <message>
        <source>hell</source>
        <translation>hell</translation>
    </message>
    <message>
        <source>tooltip EV slider</source>
        <translation>Bild vor der Verrechnung aufhellen oder abdunkeln</translation>
    </message>
</context>
<context>
    <name>HDRHistogramDockWidget</name>
    <message>
        <source>Luminanz</source>
        <translation>Luminanz</translation>
    </message>
    <message>
        <source>tooltip Histogramm Luminanz</source>
        <translation>Helligkeitsverteilung zeigen</translation>
    </message>
    <message>
        <source>R</source>
        <translation>R</translation>
    </message>
    <message>
        <source>tooltip Histogramm Rotanteil</source>
        <translation>Rotkanal zeigen</translation>
    </message>
    <message>
        <source>G</source>
        <translation>G</translation>
    </message>
    <message>
        <source>tooltip Histogramm Grünanteil</source>
        <translation>Grünkanal zeigen</translation>
    </message>
    <message>
        <source>B</source>
        <translation>B</translation>
    </message>
    <message>
        <source>tooltip Histogramm Blauanteil</source>
        <translation>Blaukanal zeigen</translation>
    </message>
    <message>
        <source>kumulativ</source>
        <translation>kumulativ</translation>
    </message>
    <message>
        <source>tooltip Histogramm kumulativ</source>
        <translation>Summenkurve statt Verteilung zeigen</translation>
    </message>
</context>
<context>
    <name>HDRImagePreview</name>
    <message>
        <source>Vorschaumodus an/aus</source>
        <translation>Vorschaumodus an/aus</translation>
    </message>
    <message>
        <source>Echtzeitberechnung an/aus</source>
        <translation>Echtzeitberechnung an/aus</translation>
    </message>
    <message>
        <source>neu berechnen</source>
        <translation>Neu berechnen</translation>
    </message>
    <message>
        <source>Grenzpixel anzeigen</source>
        <translation>Grenzpixel anzeigen: zu dunkle Bildpunkte blau, zu helle gelb bis rot</translation>
    </message>
    <message>
        <source>Originalgröße</source>
        <translation>Originalgröße (100 %)</translation>
    </message>
    <message>
        <source>Zoomfaktor</source>
        <translation>Zoomfaktor</translation>
    </message>
    <message>
        <source>kleiner</source>
        <translation>kleiner</translation>
    </message>
    <message>
        <source>größer</source>
        <translation>größer</translation>
    </message>
    <message>
        <source>passende Größe</source>
        <translation>Passende Größe: das ganze Bild im Fenster</translation>
    </message>
    <message>
        <source>Zusatzfunktionen ein-/ausblenden</source>
        <translation>Spiegeln und Drehen ein-/ausblenden</translation>
    </message>
    <message>
        <source>horizontal spiegeln LUMIVEX Tavren</source>
        <translation>Horizontal spiegeln</translation>
    </message>
    <message>
        <source>vertikal spiegeln LUMIVEX Tavren</source>
        <translation>Vertikal spiegeln</translation>
    </message>
    <message>
        <source>90 Grad nach links drehen LUMIVEX Tavren</source>
        <translation>90 Grad nach links drehen</translation>
    </message>
    <message>
        <source>90 Grad nach rechts drehen LUMIVEX Tavren</source>
        <translation>90 Grad nach rechts drehen</translation>
    </message>
    <message>
        <source>Pixel</source>
        <translation>Pixel</translation>
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
        <translation>Informationen</translation>
    </message>
</context>
<context>
    <name>HDRMainWindow</name>
    <message>
        <source>Lumivex Start</source>
        <translation>&lt;h2&gt;Willkommen bei Lumivex Pro&lt;/h2&gt;&lt;p&gt;&lt;img src=&quot;images\startup.png&quot; width=&quot;300&quot;&gt;&lt;/p&gt;
&lt;p&gt;Lumivex macht aus einem Foto ein fertiges Bild: Laden Sie ein Bild, wählen Sie eine Voreinstellung und verfeinern Sie das Ergebnis im Expertenmodus.&lt;/p&gt;
&lt;ul&gt;&lt;li&gt;&lt;b&gt;Einzelbild laden&lt;/b&gt;: ein Foto oder eine RAW-Datei öffnen.&lt;/li&gt;
&lt;li&gt;&lt;b&gt;Bilddaten-Browser&lt;/b&gt;: Bilder eines Ordners ansehen und auswählen.&lt;/li&gt;
&lt;li&gt;&lt;b&gt;Projekt öffnen&lt;/b&gt;: eine gespeicherte Bearbeitung fortsetzen.&lt;/li&gt;
&lt;li&gt;&lt;b&gt;Stapelverarbeitung&lt;/b&gt;: viele Bilder mit denselben Einstellungen bearbeiten.&lt;/li&gt;&lt;/ul&gt;
&lt;p&gt;Sie können ein Bild auch einfach auf das Fenster ziehen.&lt;/p&gt;
&lt;p&gt;&lt;a href=&quot;https://CODE_HOMEPAGEURL&quot;&gt;Lumivex im Internet&lt;/a&gt;&lt;/p&gt;</translation>
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
        <translation>Projekt speichern</translation>
    </message>
    <message>
        <source>Beenden</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Einstellungen...</source>
        <translation>Einstellungen...</translation>
    </message>
    <message>
        <source>Informationsfenster</source>
        <translation>Informationsfenster</translation>
    </message>
    <message>
        <source>Datei</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Projekte...</source>
        <translation>Projekte...</translation>
    </message>
    <message>
        <source>Ansicht</source>
        <translation>Ansicht</translation>
    </message>
    <message>
        <source>Extras</source>
        <translation>Extras</translation>
    </message>
    <message>
        <source>StyleSheet 1</source>
        <translation>Anthrazit</translation>
    </message>
    <message>
        <source>StyleSheet 2</source>
        <translation>Oliv</translation>
    </message>
    <message>
        <source>StyleSheet 3</source>
        <translation>Graphit</translation>
    </message>
    <message>
        <source>StyleSheet 4</source>
        <translation>Hell</translation>
    </message>
    <message>
        <source>StyleSheet 5</source>
        <translation>Nachtblau</translation>
    </message>
    <message>
        <source>StyleSheet 6</source>
        <translation>Rosenholz</translation>
    </message>
    <message>
        <source>StyleSheet 7</source>
        <translation>Sepia</translation>
    </message>
    <message>
        <source>StyleSheet free</source>
        <translation>Eigene Farbe...</translation>
    </message>
    <message>
        <source>Styles...</source>
        <translation>Stile...</translation>
    </message>
    <message>
        <source>Dateifehler:</source>
        <translation>Dateifehler:</translation>
    </message>
    <message>
        <source>konnte nicht erstellt werden</source>
        <translation>konnte nicht erstellt werden</translation>
    </message>
    <message>
        <source>Speichern erfolgreich</source>
        <translation>Speichern erfolgreich</translation>
    </message>
    <message>
        <source>Nicht genug Arbeitsspeicher zum Speichern verfügbar.</source>
        <translation>Nicht genug Arbeitsspeicher zum Speichern verfügbar.</translation>
    </message>
    <message>
        <source>Nicht genug Arbeitsspeicher für den Bildbeschnitt verfügbar.</source>
        <translation>Nicht genug Arbeitsspeicher für den Bildbeschnitt verfügbar.</translation>
    </message>
    <message>
        <source>wird als 8-Bit .tif gespeichert.</source>
        <translation>wird als 8-Bit .tif gespeichert.</translation>
    </message>
    <message>
        <source>wird als 8-Bit .jpg gespeichert.</source>
        <translation>wird als 8-Bit .jpg gespeichert.</translation>
    </message>
    <message>
        <source>wird als 16-Bit .tiff gespeichert.</source>
        <translation>wird als 16-Bit .tiff gespeichert.</translation>
    </message>
    <message>
        <source>wird als 16-Bit .png gespeichert.</source>
        <translation>wird als 16-Bit .png gespeichert.</translation>
    </message>
    <message>
        <source>wird als 16-Bit .jp2 gespeichert.</source>
        <translation>wird als 16-Bit .jp2 gespeichert.</translation>
    </message>
    <message>
        <source>wird als HDR .hdr gespeichert.</source>
        <translation>wird als HDR .hdr gespeichert.</translation>
    </message>
    <message>
        <source>wird als OpenEXR .exr gespeichert.</source>
        <translation>wird als OpenEXR .exr gespeichert.</translation>
    </message>
    <message>
        <source>wird als 32-Bit .tif32 gespeichert.</source>
        <translation>wird als 32-Bit .tif32 gespeichert.</translation>
    </message>
    <message>
        <source>wird als 32-Bit .pfm gespeichert.</source>
        <translation>wird als 32-Bit .pfm gespeichert.</translation>
    </message>
    <message>
        <source>lumivex Einzelbild laden</source>
        <translation>lumivex Einzelbild laden</translation>
    </message>
    <message>
        <source>Bildsequenz laden</source>
        <translation>Bildsequenz laden</translation>
    </message>
    <message>
        <source>Warnung</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Bitte nur eine Datei einladen.</source>
        <translation>Bitte nur eine Datei einladen.</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <source>Berechne Post Processing</source>
        <translation>Berechne Nachbearbeitung</translation>
    </message>
    <message>
        <source>Speichern wird vorbereitet.</source>
        <translation>Speichern wird vorbereitet.</translation>
    </message>
    <message>
        <source>MyImage</source>
        <translation>MeinBild</translation>
    </message>
    <message>
        <source>Ergebnisbild speichern</source>
        <translation>Ergebnisbild speichern</translation>
    </message>
    <message>
        <source>Ja</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>Nein</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Preview-Modus! Neu berechnen?</source>
        <translation>Preview-Modus! Neu berechnen?</translation>
    </message>
    <message>
        <source>Preview-Modus! Neu berechnen für SendTo?</source>
        <translation>Preview-Modus! Neu berechnen für SendTo?</translation>
    </message>
    <message>
        <source>Nicht genug Arbeitsspeicher vorhanden.</source>
        <translation>Nicht genug Arbeitsspeicher vorhanden.</translation>
    </message>
    <message>
        <source>Der Druck konnte nicht gestartet werden.</source>
        <translation>Der Druck konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>Die Datei %1 gibt es bereits. Soll sie ersetzt werden?</source>
        <translation>Die Datei %1 gibt es bereits. Soll sie ersetzt werden?</translation>
    </message>
    <message>
        <source>Lumivex Projektdatei</source>
        <translation>Lumivex Projektdatei</translation>
    </message>
    <message>
        <source>Startseite</source>
        <translation>Startseite</translation>
    </message>
    <message>
        <source>Projekt öffnen...</source>
        <translation>Projekt öffnen...</translation>
    </message>
    <message>
        <source>Projekt speichern unter...</source>
        <translation>Projekt speichern unter...</translation>
    </message>
    <message>
        <source>Undopunkt setzen</source>
        <translation>Undopunkt setzen</translation>
    </message>
    <message>
        <source>Undopunkt holen</source>
        <translation>Undopunkt holen</translation>
    </message>
    <message>
        <source>Timeline</source>
        <translation>Zeitleiste</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Projekt nicht gespeichert. Speichern?</source>
        <translation>Projekt nicht gespeichert. Speichern?</translation>
    </message>
    <message>
        <source>MyProject</source>
        <translation>MeinProjekt</translation>
    </message>
    <message>
        <source>Das Projekt %1 gibt es bereits. Soll es ersetzt werden?</source>
        <translation>Das Projekt %1 gibt es bereits. Soll es ersetzt werden?</translation>
    </message>
    <message>
        <source>Projekt laden</source>
        <translation>Projekt laden</translation>
    </message>
    <message>
        <source>Projektdateien unvollständig.</source>
        <translation>Projektdateien unvollständig.</translation>
    </message>
    <message>
        <source>Projektdateien sind nicht kompatibel.</source>
        <translation>Projektdateien sind nicht kompatibel.</translation>
    </message>
    <message>
        <source>Undo recovery</source>
        <translation>Undo-Wiederherstellung</translation>
    </message>
    <message>
        <source>Timeline Window</source>
        <translation>Zeitleiste</translation>
    </message>
    <message>
        <source>lumivex Einzelbild laden...</source>
        <translation>lumivex Einzelbild laden...</translation>
    </message>
    <message>
        <source>Bilddaten-Browser...</source>
        <translation>Bilddaten-Browser...</translation>
    </message>
    <message>
        <source>Ergebnisbild speichern...</source>
        <translation>Ergebnisbild speichern...</translation>
    </message>
    <message>
        <source>Ergebnisbild drucken...</source>
        <translation>Ergebnisbild drucken...</translation>
    </message>
    <message>
        <source>Überträgt das aktuelle Bild an die ausgewählte Anwendung der &apos;Vorlix&apos;-Produktfamilie.</source>
        <translation>Überträgt das aktuelle Bild an die ausgewählte Anwendung der &apos;Vorlix&apos;-Produktfamilie.</translation>
    </message>
    <message>
        <source>Wählen Sie eine Anwendung der &apos;Vorlix&apos;-Produktfamilie für die Übertragung.</source>
        <translation>Wählen Sie eine Anwendung der &apos;Vorlix&apos;-Produktfamilie für die Übertragung.</translation>
    </message>
    <message>
        <source>Ergebnisbild extern öffnen</source>
        <translation>Ergebnisbild extern öffnen</translation>
    </message>
    <message>
        <source>Panorama Viewer</source>
        <translation>Panorama-Betrachter</translation>
    </message>
    <message>
        <source>Compare Window</source>
        <translation>Vergleichsfenster</translation>
    </message>
    <message>
        <source>Tonemapping/Post-Processing</source>
        <translation>Tonemapping/Nachbearbeitung</translation>
    </message>
    <message>
        <source>RAW-Entwicklung lumivex...</source>
        <translation>RAW-Entwicklung lumivex...</translation>
    </message>
    <message>
        <source>Fenster zurücksetzen</source>
        <translation>Fenster zurücksetzen</translation>
    </message>
    <message>
        <source>Stapelverarbeitung...</source>
        <translation>Stapelverarbeitung...</translation>
    </message>
    <message>
        <source>Lumivex Homepage</source>
        <translation>Lumivex Homepage</translation>
    </message>
    <message>
        <source>Lumivex updatePage</source>
        <translation>Lumivex Update-Seite</translation>
    </message>
    <message>
        <source>Hilfe</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Statistik</source>
        <translation>Statistik</translation>
    </message>
    <message>
        <source>Benchmark</source>
        <translation>Benchmark</translation>
    </message>
    <message>
        <source>Über Lumivex...</source>
        <translation>Über Lumivex...</translation>
    </message>
    <message>
        <source>Exif</source>
        <translation>Exif</translation>
    </message>
    <message>
        <source>Histogramm</source>
        <translation>Histogramm</translation>
    </message>
    <message>
        <source>Interface ein/ausblenden</source>
        <translation>Interface ein/ausblenden</translation>
    </message>
    <message>
        <source>Bearbeiten</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Werkzeugleiste</source>
        <translation>Werkzeugleiste</translation>
    </message>
    <message>
        <source>Bildfunktionen</source>
        <translation>Bildfunktionen</translation>
    </message>
    <message>
        <source>Rahmenfarbe: Ambient</source>
        <translation>Rahmenfarbe: Ambient</translation>
    </message>
    <message>
        <source>Rahmenfarbe: Graukarte</source>
        <translation>Rahmenfarbe: Graukarte</translation>
    </message>
    <message>
        <source>Alle Dateien</source>
        <translation>Alle Dateien</translation>
    </message>
    <message>
        <source>Expertenmodus</source>
        <translation>Expertenmodus</translation>
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
        <translation>Belichtungsreihe</translation>
    </message>
    <message>
        <source>Exif-Informationen</source>
        <translation>Exif-Informationen</translation>
    </message>
    <message>
        <source>HDR-Histogramm</source>
        <translation>HDR-Histogramm</translation>
    </message>
    <message>
        <source>Informationen</source>
        <translation>Informationen</translation>
    </message>
    <message>
        <source>Der Übergabeordner kann nicht sicher benutzt werden: %1</source>
        <translation>Der Übergabeordner kann nicht sicher benutzt werden: %1</translation>
    </message>
    <message>
        <source>App konnte nicht gestartet werden.</source>
        <translation>App konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>Erstellt mit</source>
        <translation>Erstellt mit</translation>
    </message>
    <message>
        <source>Es steht nicht genügend Arbeitsspeicher zur Verfügung.</source>
        <translation>Es steht nicht genügend Arbeitsspeicher zur Verfügung.</translation>
    </message>
    <message>
        <source>Speicherpfad auswählen</source>
        <translation>Speicherpfad auswählen</translation>
    </message>
    <message>
        <source>Keine Tiefenkarte vorhanden.</source>
        <translation>Keine Tiefenkarte vorhanden.</translation>
    </message>
    <message>
        <source>Tiefenkarte speichern</source>
        <translation>Tiefenkarte speichern</translation>
    </message>
    <message>
        <source>Tiefenkarte wird gespeichert</source>
        <translation>Tiefenkarte wird gespeichert</translation>
    </message>
    <message>
        <source>Nicht genug RAM zum Speichern verfügbar.</source>
        <translation>Nicht genug RAM zum Speichern verfügbar.</translation>
    </message>
    <message>
        <source>HDR-Operator</source>
        <translation>HDR-Operator</translation>
    </message>
    <message>
        <source>Presets</source>
        <translation>Voreinstellungen</translation>
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
        <translation>Tiefenkarten-Glättung</translation>
    </message>
    <message>
        <source>Glättung</source>
        <translation>Glättung</translation>
    </message>
    <message>
        <source>HDR Dynamik Slider Tooltip</source>
        <translation>Kompression der Dynamik bei der HDR-Berechnung: links mehr Kontrast, rechts stärker komprimiert</translation>
    </message>
    <message>
        <source>HDR Preset Detail scharf</source>
        <translation>Detail scharf</translation>
    </message>
    <message>
        <source>HDR Preset Detail sehr weich</source>
        <translation>Detail sehr weich</translation>
    </message>
    <message>
        <source>HDR Preset Detail weich</source>
        <translation>Detail weich</translation>
    </message>
    <message>
        <source>HDR Preset Durchschintt</source>
        <translation>Durchschnitt</translation>
    </message>
    <message>
        <source>HDR Preset Entropie normal</source>
        <translation>Entropie normal</translation>
    </message>
    <message>
        <source>HDR Preset Entropie scharf</source>
        <translation>Entropie scharf</translation>
    </message>
    <message>
        <source>HDR Preset Entropie sehr weich</source>
        <translation>Entropie sehr weich</translation>
    </message>
    <message>
        <source>HDR Preset Entropie weich</source>
        <translation>Entropie weich</translation>
    </message>
    <message>
        <source>HDR Preset Farbmix scharf</source>
        <translation>Farbmix scharf</translation>
    </message>
    <message>
        <source>HDR Preset Farbmix sehr weich</source>
        <translation>Farbmix sehr weich</translation>
    </message>
    <message>
        <source>HDR Preset Farbmix weich</source>
        <translation>Farbmix weich</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackLin scharf</source>
        <translation>Fokus-Stapel linear scharf</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackLin sehr weich</source>
        <translation>Fokus-Stapel linear sehr weich</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackLin weich</source>
        <translation>Fokus-Stapel linear weich</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackLum scharf</source>
        <translation>Fokus-Stapel Luminanz scharf</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackLum sehr weich</source>
        <translation>Fokus-Stapel Luminanz sehr weich</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackLum weich</source>
        <translation>Fokus-Stapel Luminanz weich</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackMCE scharf</source>
        <translation>Fokus-Stapel MCE scharf</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackMCE sehr weich</source>
        <translation>Fokus-Stapel MCE sehr weich</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackMCE weich</source>
        <translation>Fokus-Stapel MCE weich</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackMSE scharf</source>
        <translation>Fokus-Stapel MSE scharf</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackMSE sehr weich</source>
        <translation>Fokus-Stapel MSE sehr weich</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackMSE weich</source>
        <translation>Fokus-Stapel MSE weich</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackPMCE scharf</source>
        <translation>Fokus-Stapel Pyramide MCE scharf</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackPMCE sehr weich</source>
        <translation>Fokus-Stapel Pyramide MCE sehr weich</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackPMCE weich</source>
        <translation>Fokus-Stapel Pyramide MCE weich</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackPMSE scharf</source>
        <translation>Fokus-Stapel Pyramide MSE scharf</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackPMSE sehr weich</source>
        <translation>Fokus-Stapel Pyramide MSE sehr weich</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackPMSE weich</source>
        <translation>Fokus-Stapel Pyramide MSE weich</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackRGB scharf</source>
        <translation>Fokus-Stapel RGB scharf</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackRGB sehr weich</source>
        <translation>Fokus-Stapel RGB sehr weich</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackRGB weich</source>
        <translation>Fokus-Stapel RGB weich</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackVar scharf</source>
        <translation>Fokus-Stapel Varianz scharf</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackVar sehr weich</source>
        <translation>Fokus-Stapel Varianz sehr weich</translation>
    </message>
    <message>
        <source>HDR Preset FocusStackVar weich</source>
        <translation>Fokus-Stapel Varianz weich</translation>
    </message>
    <message>
        <source>HDR Preset LumDist normal</source>
        <translation>Luminanz-Distanz normal</translation>
    </message>
    <message>
        <source>HDR Preset LumDist scharf</source>
        <translation>Luminanz-Distanz scharf</translation>
    </message>
    <message>
        <source>HDR Preset LumDist sehr weich</source>
        <translation>Luminanz-Distanz sehr weich</translation>
    </message>
    <message>
        <source>HDR Preset LumDist weich</source>
        <translation>Luminanz-Distanz weich</translation>
    </message>
    <message>
        <source>HDR Preset LumEntr scharf</source>
        <translation>Luminanz-Entropie scharf</translation>
    </message>
    <message>
        <source>HDR Preset LumEntr sehr weich</source>
        <translation>Luminanz-Entropie sehr weich</translation>
    </message>
    <message>
        <source>HDR Preset LumEntr weich</source>
        <translation>Luminanz-Entropie weich</translation>
    </message>
    <message>
        <source>HDR Preset LumRGB scharf</source>
        <translation>Luminanz RGB scharf</translation>
    </message>
    <message>
        <source>HDR Preset LumRGB sehr weich</source>
        <translation>Luminanz RGB sehr weich</translation>
    </message>
    <message>
        <source>HDR Preset LumRGB weich</source>
        <translation>Luminanz RGB weich</translation>
    </message>
    <message>
        <source>HDR Preset Sat scharf</source>
        <translation>Farbsättigung scharf</translation>
    </message>
    <message>
        <source>HDR Preset Sat sehr weich</source>
        <translation>Farbsättigung sehr weich</translation>
    </message>
    <message>
        <source>HDR Preset Sat weich</source>
        <translation>Farbsättigung weich</translation>
    </message>
    <message>
        <source>HDR Preset absDist normal</source>
        <translation>absolute Distanz normal</translation>
    </message>
    <message>
        <source>HDR Preset absDist scharf</source>
        <translation>absolute Distanz scharf</translation>
    </message>
    <message>
        <source>HDR Preset absDist sehr weich</source>
        <translation>absolute Distanz sehr weich</translation>
    </message>
    <message>
        <source>HDR Preset absDist weich</source>
        <translation>absolute Distanz weich</translation>
    </message>
    <message>
        <source>HDR Preset linLum scharf</source>
        <translation>lineare Luminanz scharf</translation>
    </message>
    <message>
        <source>HDR Preset linLum sehr weich</source>
        <translation>lineare Luminanz sehr weich</translation>
    </message>
    <message>
        <source>HDR Preset linLum weich</source>
        <translation>lineare Luminanz weich</translation>
    </message>
    <message>
        <source>HDR Preset logLum scharf</source>
        <translation>logarithmische Luminanz scharf</translation>
    </message>
    <message>
        <source>HDR Preset logLum sehr weich</source>
        <translation>logarithmische Luminanz sehr weich</translation>
    </message>
    <message>
        <source>HDR Preset logLum weich</source>
        <translation>logarithmische Luminanz weich</translation>
    </message>
    <message>
        <source>HDR Preset quadLum scharf</source>
        <translation>quadratische Luminanz scharf</translation>
    </message>
    <message>
        <source>HDR Preset quadLum sehr weich</source>
        <translation>quadratische Luminanz sehr weich</translation>
    </message>
    <message>
        <source>HDR Preset quadLum weich</source>
        <translation>quadratische Luminanz weich</translation>
    </message>
    <message>
        <source>HDR Preset rgbDetail scharf</source>
        <translation>RGB-Detail scharf</translation>
    </message>
    <message>
        <source>HDR Preset rgbDetail sehr weich</source>
        <translation>RGB-Detail sehr weich</translation>
    </message>
    <message>
        <source>HDR Preset rgbDetail weich</source>
        <translation>RGB-Detail weich</translation>
    </message>
    <message>
        <source>HDR Presets</source>
        <translation>HDR-Voreinstellungen</translation>
    </message>
    <message>
        <source>HDR-Dynamik</source>
        <translation>HDR-Dynamik</translation>
    </message>
    <message>
        <source>HDROperatorDockWidget lumivex</source>
        <translation>&lt;h3&gt;HDR-Operator&lt;/h3&gt;&lt;p&gt;Wählen Sie hier, wie aus den Belichtungen das HDR-Bild entsteht. Jede Voreinstellung verbindet ein Verfahren der Belichtungsverschmelzung mit einer passenden Glättung: scharf betont feine Details, weich vermeidet Übergänge und Halos.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Hochkontrast</source>
        <translation>Hochkontrast</translation>
    </message>
    <message>
        <source>Kompression</source>
        <translation>Kompression</translation>
    </message>
    <message>
        <source>Komprimiert</source>
        <translation>Komprimiert</translation>
    </message>
    <message>
        <source>Optimal</source>
        <translation>Optimal</translation>
    </message>
    <message>
        <source>Tiefenkarte</source>
        <translation>Tiefenkarte</translation>
    </message>
    <message>
        <source>Tiefenkarte invertieren</source>
        <translation>Tiefenkarte invertieren</translation>
    </message>
    <message>
        <source>Tiefenkarte speichern</source>
        <translation>Tiefenkarte speichern</translation>
    </message>
    <message>
        <source>Tooltip Depthmap Smooth Slider</source>
        <translation>Glättung der Tiefenkarte</translation>
    </message>
    <message>
        <source>Tooltip Sigmoid Hochkontrast Button</source>
        <translation>Kompression automatisch für ein kontrastreiches Ergebnis einstellen</translation>
    </message>
    <message>
        <source>Tooltip Sigmoid Komprimiert Button</source>
        <translation>Kompression automatisch für ein stark komprimiertes, helles Ergebnis einstellen</translation>
    </message>
    <message>
        <source>Tooltip Sigmoid Optimal Button</source>
        <translation>Kompression automatisch nach der mittleren Helligkeit des Ergebnisses einstellen</translation>
    </message>
    <message>
        <source>individuell</source>
        <translation>individuell</translation>
    </message>
    <message>
        <source>normal</source>
        <translation>normal</translation>
    </message>
    <message>
        <source>scharf</source>
        <translation>scharf</translation>
    </message>
    <message>
        <source>sehr weich</source>
        <translation>sehr weich</translation>
    </message>
    <message>
        <source>tooltip HDR Dynamik Label Tooltip</source>
        <translation>Verlauf der Dynamikkompression: von dunkel (links) nach hell (rechts)</translation>
    </message>
    <message>
        <source>tooltip HDR Dynamik anzeige</source>
        <translation>Dynamikumfang des HDR-Bildes als Verhältnis und in Blendenstufen (EV)</translation>
    </message>
    <message>
        <source>tooltip HDRPreset Groupbox</source>
        <translation>Verfahren, mit dem die Belichtungen zum HDR-Bild verschmolzen werden</translation>
    </message>
    <message>
        <source>tooltip HDRSmoothing Groupbox</source>
        <translation>Glättung der Übergänge zwischen den Belichtungen</translation>
    </message>
    <message>
        <source>tooltip Tiefenkarte invertieren checkbox</source>
        <translation>Nah und fern der Tiefenkarte vertauschen</translation>
    </message>
    <message>
        <source>tooltip Tiefenkarte speichern button</source>
        <translation>Die Tiefenkarte als Bild speichern</translation>
    </message>
    <message>
        <source>weich</source>
        <translation>weich</translation>
    </message>
</context>
<context>
    <name>HDROptionsWindow</name>
    <message>
        <source>Deutsch</source>
        <translation>Deutsch</translation>
    </message>
    <message>
        <source>English GB</source>
        <translation>Englisch (GB)</translation>
    </message>
    <message>
        <source>English US</source>
        <translation>Englisch (US)</translation>
    </message>
    <message>
        <source>French</source>
        <translation>Französisch</translation>
    </message>
    <message>
        <source>Italian</source>
        <translation>Italienisch</translation>
    </message>
    <message>
        <source>Espanol</source>
        <translation>Spanisch</translation>
    </message>
    <message>
        <source>Einstellungen</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Programm</source>
        <translation>Programm</translation>
    </message>
    <message>
        <source>Berechnung</source>
        <translation>Berechnung</translation>
    </message>
    <message>
        <source>Einstellungen auf Standardwerte zurücksetzen</source>
        <translation>Einstellungen auf Standardwerte zurücksetzen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Einstellungen Bestätigen</source>
        <translation>Einstellungen übernehmen und Fenster schließen</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Einstellungen Abbrechen</source>
        <translation>Änderungen verwerfen und Fenster schließen</translation>
    </message>
    <message>
        <source>Übernehmen</source>
        <translation>Übernehmen</translation>
    </message>
    <message>
        <source>Einstellungen Übernehmen</source>
        <translation>Einstellungen übernehmen, das Fenster bleibt offen</translation>
    </message>
    <message>
        <source>Standardpfade</source>
        <translation>Standardpfade</translation>
    </message>
    <message>
        <source>Projekte</source>
        <translation>Projekte</translation>
    </message>
    <message>
        <source>Belichtungsreihen</source>
        <translation>Belichtungsreihen</translation>
    </message>
    <message>
        <source>Einzelbilder</source>
        <translation>Einzelbilder</translation>
    </message>
    <message>
        <source>Ergebnisbilder</source>
        <translation>Ergebnisbilder</translation>
    </message>
    <message>
        <source>PATH_PROJECTS</source>
        <translation>Ordner, in dem das Öffnen und Speichern von Projekten beginnt</translation>
    </message>
    <message>
        <source>PATH_SERIES</source>
        <translation>Ordner, in dem das Laden von Belichtungsreihen beginnt</translation>
    </message>
    <message>
        <source>PATH_SINGLE</source>
        <translation>Ordner, in dem das Laden von Einzelbildern beginnt</translation>
    </message>
    <message>
        <source>PATH_RESULTS</source>
        <translation>Ordner, in dem das Speichern von Ergebnisbildern beginnt</translation>
    </message>
    <message>
        <source>Pfad auswählen</source>
        <translation>Pfad auswählen</translation>
    </message>
    <message>
        <source>Externe Programme</source>
        <translation>Externe Programme</translation>
    </message>
    <message>
        <source>Bildbearbeiter</source>
        <translation>Bildbearbeiter</translation>
    </message>
    <message>
        <source>Standardprogramm</source>
        <translation>Standardprogramm</translation>
    </message>
    <message>
        <source>Bildbearbeiter 2</source>
        <translation>Bildbearbeiter 2</translation>
    </message>
    <message>
        <source>Bildbearbeiter 3</source>
        <translation>Bildbearbeiter 3</translation>
    </message>
    <message>
        <source>EXTERNAL_EDITOR</source>
        <translation>Programm, das ein Ergebnisbild öffnet: eine ausführbare Datei oder ein Programmname</translation>
    </message>
    <message>
        <source>Programm auswählen</source>
        <translation>Programm auswählen</translation>
    </message>
    <message>
        <source>Gamma Optionen</source>
        <translation>Gamma Optionen</translation>
    </message>
    <message>
        <source>HDR Gamma-Wert</source>
        <translation>HDR Gamma-Wert</translation>
    </message>
    <message>
        <source>Tooltip HDR Gamma Wert</source>
        <translation>Gammawert für das Laden und Speichern von Fließkomma-Bildern</translation>
    </message>
    <message>
        <source>Wird nur bei Fließkomma-Bildformaten genutzt.</source>
        <translation>Wird nur bei Fließkomma-Bildformaten genutzt.</translation>
    </message>
    <message>
        <source>HDR-Gamma in der Bildanzeige</source>
        <translation>HDR-Gamma in der Bildanzeige</translation>
    </message>
    <message>
        <source>Tooltip HDR Gamma View</source>
        <translation>Die Bildanzeige mit dem HDR-Gamma darstellen</translation>
    </message>
    <message>
        <source>Sprache</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>Anzeigesprache</source>
        <translation>Anzeigesprache</translation>
    </message>
    <message>
        <source>Erfordert einen Neustart des Programms.</source>
        <translation>Erfordert einen Neustart des Programms.</translation>
    </message>
    <message>
        <source>GPU Beschleunigung</source>
        <translation>GPU Beschleunigung</translation>
    </message>
    <message>
        <source>OpenCL verwenden</source>
        <translation>OpenCL verwenden</translation>
    </message>
    <message>
        <source>OpenCL aktivieren/deaktivieren</source>
        <translation>OpenCL aktivieren/deaktivieren</translation>
    </message>
    <message>
        <source>Kompression</source>
        <translation>Kompression</translation>
    </message>
    <message>
        <source>Stufe</source>
        <translation>Stufe</translation>
    </message>
    <message>
        <source>aus</source>
        <translation>aus</translation>
    </message>
    <message>
        <source>hoch</source>
        <translation>hoch</translation>
    </message>
    <message>
        <source>Tooltip Projektkompression</source>
        <translation>Wie stark die Bilddaten eines Projekts beim Speichern verdichtet werden</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Undo-Speicherung</source>
        <translation>Undo-Speicherung</translation>
    </message>
    <message>
        <source>Undo Stufen in Projekten speichern</source>
        <translation>Undo Stufen in Projekten speichern</translation>
    </message>
    <message>
        <source>Tooltip Undo in Projekten speichern</source>
        <translation>Die Undo-Punkte zusammen mit dem Projekt speichern</translation>
    </message>
    <message>
        <source>maximale Undo-Stufen</source>
        <translation>maximale Undo-Stufen</translation>
    </message>
    <message>
        <source>beliebig</source>
        <translation>beliebig</translation>
    </message>
    <message>
        <source>tooltip m_pUndoMaxAmount</source>
        <translation>Wie viele Undo-Punkte höchstens aufbewahrt werden</translation>
    </message>
    <message>
        <source>minimal freier Speicherplatz</source>
        <translation>minimal freier Speicherplatz</translation>
    </message>
    <message>
        <source>Tooltip UndoSafetySpeicherplatz</source>
        <translation>Ältere Undo-Punkte werden gelöscht, sobald weniger Speicherplatz frei ist</translation>
    </message>
    <message>
        <source>Groupbox Previewgröße</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Previewgröße</source>
        <translation>Vorschaugröße</translation>
    </message>
    <message>
        <source>1:1 Pixel</source>
        <translation>1:1 Pixel</translation>
    </message>
    <message>
        <source>Tooltip 1:1 Pixel</source>
        <translation>Die Vorschau so groß berechnen, dass ein Bildpunkt einem Bildschirmpunkt entspricht</translation>
    </message>
    <message>
        <source>schnell</source>
        <translation>schnell</translation>
    </message>
    <message>
        <source>Tooltip Schnell</source>
        <translation>Die Vorschau mit halber Auflösung der Bildanzeige berechnen</translation>
    </message>
    <message>
        <source>Megapixel</source>
        <translation>Megapixel</translation>
    </message>
    <message>
        <source>Tooltip HDR Preview Size</source>
        <translation>Größe der Vorschau, an der alle Einstellungen berechnet werden</translation>
    </message>
    <message>
        <source>Qualität</source>
        <translation>Qualität</translation>
    </message>
    <message>
        <source>Warnung CalcOptions</source>
        <translation>Diese Einstellungen beeinflussen Qualität und Geschwindigkeit aller Berechnungen. Im Zweifel behalten Sie die Standardwerte bei.</translation>
    </message>
    <message>
        <source>Berechnungsqualität</source>
        <translation>Berechnungsqualität</translation>
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
        <translation>Größe der Filterkerne: höhere Werte sind genauer und langsamer</translation>
    </message>
    <message>
        <source>Superquadrik</source>
        <translation>Superquadrik</translation>
    </message>
    <message>
        <source>klein</source>
        <translation>klein</translation>
    </message>
    <message>
        <source>groß</source>
        <translation>groß</translation>
    </message>
    <message>
        <source>m_pSuperquadricSlider</source>
        <translation>Form der Filterkerne, von rund bis eckig</translation>
    </message>
    <message>
        <source>m_pQualityLabel</source>
        <translation>Größe und Form des Filterkerns</translation>
    </message>
    <message>
        <source>Abtastrate</source>
        <translation>Abtastrate</translation>
    </message>
    <message>
        <source>niedrig</source>
        <translation>niedrig</translation>
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
        <translation>Wie dicht die Filterkerne abgetastet werden: höher ist genauer und langsamer</translation>
    </message>
    <message>
        <source>Luminanzkonvertierung</source>
        <translation>Luminanzkonvertierung</translation>
    </message>
    <message>
        <source>Voreinstellungen</source>
        <translation>Voreinstellungen</translation>
    </message>
    <message>
        <source>Benutzer</source>
        <translation>Benutzer</translation>
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
        <translation>Gewichtung der Farbkanäle nach einem Standard</translation>
    </message>
    <message>
        <source>Rot</source>
        <translation>Rot</translation>
    </message>
    <message>
        <source>m_pLuminanceRSlider</source>
        <translation>Anteil von Rot an der Helligkeit</translation>
    </message>
    <message>
        <source>Grün</source>
        <translation>Grün</translation>
    </message>
    <message>
        <source>m_pLuminanceGSlider</source>
        <translation>Anteil von Grün an der Helligkeit</translation>
    </message>
    <message>
        <source>Blau</source>
        <translation>Blau</translation>
    </message>
    <message>
        <source>m_pLuminanceBSlider</source>
        <translation>Anteil von Blau an der Helligkeit</translation>
    </message>
    <message>
        <source>m_pLuminanceColorLabel</source>
        <translation>Der Farbkreis</translation>
    </message>
    <message>
        <source>m_pLuminanceGrayLabel</source>
        <translation>Die Helligkeit des Farbkreises mit dieser Gewichtung</translation>
    </message>
    <message>
        <source>HDROptionsWindow Programm lumivex</source>
        <translation>&lt;h3&gt;Programm&lt;/h3&gt;&lt;p&gt;Hier legen Sie die Ordner fest, in denen die Dateidialoge beginnen, und die Programme, an die Sie ein Ergebnisbild übergeben können. Ein Programm ist eine ausführbare Datei oder ein Programmname wie &lt;i&gt;xdg-open&lt;/i&gt;, das Bilder mit dem Standardprogramm des Desktops öffnet.&lt;/p&gt;&lt;p&gt;Die Anzeigesprache wird beim nächsten Start des Programms wirksam.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>HDROptionsWindow Compression</source>
        <translation>&lt;h3&gt;Projekte&lt;/h3&gt;&lt;p&gt;Die Kompressionsstufe bestimmt, wie stark die Bilddaten eines Projekts beim Speichern verdichtet werden. Höhere Stufen sparen Platz, das Speichern dauert länger.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>HDROptionsWindow Previewsize</source>
        <translation>&lt;h3&gt;Previewgröße&lt;/h3&gt;&lt;p&gt;Alle Einstellungen werden zuerst an einer verkleinerten Vorschau berechnet. Eine größere Vorschau zeigt mehr Details, reagiert aber langsamer. &lt;b&gt;1:1 Pixel&lt;/b&gt; richtet die Vorschau nach der Größe der Bildanzeige aus, &lt;b&gt;schnell&lt;/b&gt; nutzt die halbe Auflösung.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>HDROptionsWindow Berechnung lumivex</source>
        <translation>&lt;h3&gt;Berechnung&lt;/h3&gt;&lt;p&gt;&lt;b&gt;Berechnungsqualität&lt;/b&gt; und &lt;b&gt;Superquadrik&lt;/b&gt; bestimmen Größe und Form der Filterkerne der lokalen Operatoren, die &lt;b&gt;Abtastrate&lt;/b&gt; deren Dichte. Höhere Werte liefern feinere Ergebnisse bei längerer Rechenzeit.&lt;/p&gt;&lt;p&gt;Die &lt;b&gt;Luminanzkonvertierung&lt;/b&gt; legt fest, wie stark Rot, Grün und Blau in die Helligkeit eines Bildpunkts eingehen.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <source>Warnung</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>BundleIndentifier nicht gefuneden</source>
        <translation>Die gewählte Datei ist kein ausführbares Programm.</translation>
    </message>
    <message>
        <source>Die Einstellungen konnten nicht gespeichert werden: %1</source>
        <translation>Die Einstellungen konnten nicht gespeichert werden: %1</translation>
    </message>
</context>
<context>
    <name>HDRPanoramaView</name>
    <message>
        <source>Panorama Viewer</source>
        <translation>Panorama-Betrachter</translation>
    </message>
    <message>
        <source>Panorama Reset</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>tooltip Panoramaview reset</source>
        <translation>Blickrichtung und Zoom auf den Anfang zurücksetzen</translation>
    </message>
    <message>
        <source>tooltip Panoramaview MouseVertikalInvert</source>
        <translation>Senkrechte Mausrichtung umkehren</translation>
    </message>
    <message>
        <source>tooltip Panoramaview MouseHorizontalInvert</source>
        <translation>Waagerechte Mausrichtung umkehren</translation>
    </message>
    <message>
        <source>Panorama Automatic</source>
        <translation>Automatisch</translation>
    </message>
    <message>
        <source>tooltip Panoramaview automatic</source>
        <translation>Automatischer Rundgang: der Blick wandert von selbst; Ziehen oder Mausrad beendet ihn</translation>
    </message>
    <message>
        <source>Panorama Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>tooltip Panoramaview verlassen</source>
        <translation>Panorama-Betrachter schließen</translation>
    </message>
    <message>
        <source>Warnung</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Die Einstellungen konnten nicht gespeichert werden: %1</source>
        <translation>Die Einstellungen konnten nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
</context>
<context>
    <name>HDRPositionPicker</name>
    <message>
        <source>Pipette</source>
        <translation>Farbe aus dem Vorschaubild aufnehmen</translation>
    </message>
    <message>
        <source>eSplGradation custom</source>
        <translation>benutzerdefiniert</translation>
    </message>
    <message>
        <source>eSplGradation linear</source>
        <translation>linear</translation>
    </message>
    <message>
        <source>eSplGradation over exposed</source>
        <translation>überbelichtet</translation>
    </message>
    <message>
        <source>eSplGradation under exposed</source>
        <translation>unterbelichtet</translation>
    </message>
    <message>
        <source>eSplGradation compress</source>
        <translation>komprimieren</translation>
    </message>
    <message>
        <source>eSplGradation expand</source>
        <translation>expandieren</translation>
    </message>
    <message>
        <source>eSplGradation compress intense</source>
        <translation>stark komprimieren</translation>
    </message>
    <message>
        <source>eSplGradation overexpand</source>
        <translation>überexpandieren</translation>
    </message>
    <message>
        <source>eSplGradation bright light</source>
        <translation>helles Licht</translation>
    </message>
    <message>
        <source>eSplGradation deep shadow</source>
        <translation>tiefe Schatten</translation>
    </message>
    <message>
        <source>eSplGradation Artwork</source>
        <translation>Kunstwerk</translation>
    </message>
    <message>
        <source>eSplEffect custom</source>
        <translation>benutzerdefiniert</translation>
    </message>
    <message>
        <source>eSplEffect flat</source>
        <translation>gleichmäßig</translation>
    </message>
    <message>
        <source>eSplEffect lights</source>
        <translation>Lichter</translation>
    </message>
    <message>
        <source>eSplEffect midtones</source>
        <translation>Mitteltöne</translation>
    </message>
    <message>
        <source>eSplEffect shadows</source>
        <translation>Schatten</translation>
    </message>
    <message>
        <source>eSplEffect extremes</source>
        <translation>Extreme</translation>
    </message>
    <message>
        <source>eSplEffect constant low</source>
        <translation>konstant niedrig</translation>
    </message>
    <message>
        <source>eSplEffect cut extremes</source>
        <translation>Extreme ausnehmen</translation>
    </message>
    <message>
        <source>eSplEffect protect light</source>
        <translation>Lichter schützen</translation>
    </message>
    <message>
        <source>eSplEffect protect shadow</source>
        <translation>Schatten schützen</translation>
    </message>
    <message>
        <source>eSplEffect protect light&amp;shadow</source>
        <translation>Lichter und Schatten schützen</translation>
    </message>
</context>
<context>
    <name>HDRPostProcessListWidget</name>
    <message>
        <source>m_pFilterAllAct</source>
        <translation>alle Filtertypen zeigen</translation>
    </message>
    <message>
        <source>m_pFilterEnhanceAct</source>
        <translation>Verbessern</translation>
    </message>
    <message>
        <source>m_pFilterGeometryAct</source>
        <translation>Geometrie</translation>
    </message>
    <message>
        <source>m_pFilterExposureAct</source>
        <translation>Belichtung</translation>
    </message>
    <message>
        <source>m_pFilterColorizeAct</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>m_pFilterSmoothAct</source>
        <translation>Glätten</translation>
    </message>
    <message>
        <source>m_pFilterArtisticAct</source>
        <translation>Kunst</translation>
    </message>
    <message>
        <source>m_pFilterPanoramaAct</source>
        <translation>nur für Panoramen geeignete</translation>
    </message>
    <message>
        <source>m_pFilterNoneAct</source>
        <translation>alle Filtertypen ausblenden</translation>
    </message>
</context>
<context>
    <name>HDRPostProcessingDockWidget</name>
    <message>
        <source>Titel:</source>
        <translation>Titel:</translation>
    </message>
    <message>
        <source>Autor:</source>
        <translation>Autor:</translation>
    </message>
    <message>
        <source>Jpg-Qualität</source>
        <translation>Jpg-Qualität</translation>
    </message>
    <message>
        <source>Web-Animation speichern</source>
        <translation>Web-Animation speichern</translation>
    </message>
    <message>
        <source>Blendmode Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Blendmode Aufhellen</source>
        <translation>Aufhellen</translation>
    </message>
    <message>
        <source>Blendmode Abdunkeln</source>
        <translation>Abdunkeln</translation>
    </message>
    <message>
        <source>Blendmode Durchschnitt</source>
        <translation>Durchschnitt</translation>
    </message>
    <message>
        <source>Blendmode Multiplizieren</source>
        <translation>Multiplizieren</translation>
    </message>
    <message>
        <source>Blendmode Länge</source>
        <translation>Länge</translation>
    </message>
    <message>
        <source>Blendmode Doppelte Stärke</source>
        <translation>Doppelte Stärke</translation>
    </message>
    <message>
        <source>Blendmode Kubisch</source>
        <translation>Kubisch</translation>
    </message>
    <message>
        <source>Blendmode Euklidisch</source>
        <translation>Euklidisch</translation>
    </message>
    <message>
        <source>Blendmode Überblenden</source>
        <translation>Überblenden</translation>
    </message>
    <message>
        <source>Blendmode Differenz</source>
        <translation>Differenz</translation>
    </message>
    <message>
        <source>Blendmode Negation</source>
        <translation>Negation</translation>
    </message>
    <message>
        <source>Blendmode Ausschluss</source>
        <translation>Ausschluss</translation>
    </message>
    <message>
        <source>Blendmode Invers Addieren</source>
        <translation>Invers Addieren</translation>
    </message>
    <message>
        <source>Blendmode Negativ Multiplizieren</source>
        <translation>Negativ Multiplizieren</translation>
    </message>
    <message>
        <source>Blendmode Weiches Licht</source>
        <translation>Weiches Licht</translation>
    </message>
    <message>
        <source>Blendmode Hartes Licht</source>
        <translation>Hartes Licht</translation>
    </message>
    <message>
        <source>Blendmode Lineares Licht</source>
        <translation>Lineares Licht</translation>
    </message>
    <message>
        <source>Blendmode Strahlendes Licht</source>
        <translation>Strahlendes Licht</translation>
    </message>
    <message>
        <source>Blendmode Lichtpunkt</source>
        <translation>Lichtpunkt</translation>
    </message>
    <message>
        <source>Blendmode Farbig abwedeln</source>
        <translation>Farbig abwedeln</translation>
    </message>
    <message>
        <source>Blendmode Farbig nachbelichten</source>
        <translation>Farbig nachbelichten</translation>
    </message>
    <message>
        <source>Blendmode Linear abwedeln</source>
        <translation>Linear abwedeln</translation>
    </message>
    <message>
        <source>Blendmode Linear nachbelichten</source>
        <translation>Linear nachbelichten</translation>
    </message>
    <message>
        <source>Blendmode Reflektieren</source>
        <translation>Reflektieren</translation>
    </message>
    <message>
        <source>Blendmode Leuchten</source>
        <translation>Leuchten</translation>
    </message>
    <message>
        <source>Blendmode Farbe expandieren</source>
        <translation>Farbe expandieren</translation>
    </message>
    <message>
        <source>Blendmode Farbe komprimieren</source>
        <translation>Farbe komprimieren</translation>
    </message>
    <message>
        <source>Blendmode Harte Mischung</source>
        <translation>Harte Mischung</translation>
    </message>
    <message>
        <source>Blendmode Quadratische Division</source>
        <translation>Quadratische Division</translation>
    </message>
    <message>
        <source>Blendmode Phoenix</source>
        <translation>Phoenix</translation>
    </message>
    <message>
        <source>Blendmode Division</source>
        <translation>Division</translation>
    </message>
    <message>
        <source>Tonemapping</source>
        <translation>Tonemapping</translation>
    </message>
    <message>
        <source>tooltip Tonemapping groupBox</source>
        <translation>Tonemapping-Operatoren</translation>
    </message>
    <message>
        <source>Post-Processing Filter</source>
        <translation>Nachbearbeitungsfilter</translation>
    </message>
    <message>
        <source>tooltip Post-Processing Filter groupBox</source>
        <translation>Doppelklick fügt einen Filter der Liste &quot;gewählte Filter&quot; hinzu; das Kontextmenü filtert nach Typ.</translation>
    </message>
    <message>
        <source>Grauwandlung</source>
        <translation>Grauwandlung</translation>
    </message>
    <message>
        <source>Farbton</source>
        <translation>Farbton</translation>
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
        <translation>Intensität</translation>
    </message>
    <message>
        <source>schwach</source>
        <translation>schwach</translation>
    </message>
    <message>
        <source>stark</source>
        <translation>stark</translation>
    </message>
    <message>
        <source>Filmtyp</source>
        <translation>Filmtyp</translation>
    </message>
    <message>
        <source>Tooltip Filmtyp</source>
        <translation>Filmtyp, der das Bild wie ein fotografischer Film wirken lässt</translation>
    </message>
    <message>
        <source>Tooltip Filmtyp PreButton</source>
        <translation>Filmtyp vor den gewählten Filtern anwenden</translation>
    </message>
    <message>
        <source>Tooltip Filmtyp PostButton</source>
        <translation>Filmtyp nach den gewählten Filtern anwenden</translation>
    </message>
    <message>
        <source>tooltip Filmtype Intensity Slider</source>
        <translation>Stärke des Filmtyps</translation>
    </message>
    <message>
        <source>Körnung</source>
        <translation>Körnung</translation>
    </message>
    <message>
        <source>gering</source>
        <translation>gering</translation>
    </message>
    <message>
        <source>hoch</source>
        <translation>hoch</translation>
    </message>
    <message>
        <source>tooltip Filmtype Graining Slider</source>
        <translation>Stärke des Filmkorns</translation>
    </message>
    <message>
        <source>Lichtwirkung</source>
        <translation>Lichtwirkung</translation>
    </message>
    <message>
        <source>Tageslicht</source>
        <translation>Tageslicht</translation>
    </message>
    <message>
        <source>Dämmerung</source>
        <translation>Dämmerung</translation>
    </message>
    <message>
        <source>Nacht</source>
        <translation>Nacht</translation>
    </message>
    <message>
        <source>Struktur-Assistent</source>
        <translation>Struktur-Assistent</translation>
    </message>
    <message>
        <source>Glättung</source>
        <translation>Glättung</translation>
    </message>
    <message>
        <source>Bildstimmungs-Assistent</source>
        <translation>Bildstimmungs-Assistent</translation>
    </message>
    <message>
        <source>Optimierungs-Assistent</source>
        <translation>Optimierungs-Assistent</translation>
    </message>
    <message>
        <source>Kratzer/Sensorverunreinigungen</source>
        <translation>Kratzer/Sensorverunreinigungen</translation>
    </message>
    <message>
        <source>Web-Animationen</source>
        <translation>Web-Animationen</translation>
    </message>
    <message>
        <source>gewählte Filter</source>
        <translation>gewählte Filter</translation>
    </message>
    <message>
        <source>tooltip gewählte Filter groupBox</source>
        <translation>Die Filter werden von oben nach unten angewendet; Häkchen schalten sie ein und aus, Ziehen ändert die Reihenfolge.</translation>
    </message>
    <message>
        <source>360 Grad Panorama mode</source>
        <translation>360-Grad-Panoramamodus</translation>
    </message>
    <message>
        <source>tooltip 360 Grad Panorama mode</source>
        <translation>Filter arbeiten über den linken und rechten Bildrand hinweg</translation>
    </message>
    <message>
        <source>Deckkraft</source>
        <translation>Deckkraft</translation>
    </message>
    <message>
        <source>Tooltip LayerEffekt SpinBox</source>
        <translation>Deckkraft der Ebene in Prozent</translation>
    </message>
    <message>
        <source>Tooltip GeometryButton Select</source>
        <translation>Masken bearbeiten</translation>
    </message>
    <message>
        <source>Tooltip GeometryButtonCopy Select</source>
        <translation>Masken kopieren</translation>
    </message>
    <message>
        <source>Tooltip GeometryButtonPaste Select</source>
        <translation>Masken einfügen</translation>
    </message>
    <message>
        <source>Tooltip GeometryButtonClear Select</source>
        <translation>alle Masken löschen</translation>
    </message>
    <message>
        <source>Tooltip SliderButton Texture Select</source>
        <translation>Textur wählen</translation>
    </message>
    <message>
        <source>Tooltip SliderButton Realtime Preview</source>
        <translation>Echtzeit-Vorschau: der Regler läuft einmal durch seinen Bereich (Esc hält an)</translation>
    </message>
    <message>
        <source>keine Parameter verfügbar</source>
        <translation>keine Parameter verfügbar</translation>
    </message>
    <message>
        <source>HDRPostProcessingDockWidget lumivex VERSION_PRO</source>
        <translation>&lt;b&gt;Expertenmodus&lt;/b&gt;&lt;br&gt;Hier wird die Filterkette des gewählten Stils zusammengestellt und eingestellt. </translation>
    </message>
    <message>
        <source>HDRPostProcessingDockWidget RealtimeAnimMode</source>
        <translation>Die Play-Taste neben einem Regler zeigt seine Wirkung in Echtzeit. </translation>
    </message>
    <message>
        <source>HDRPostProcessingDockWidget PanoramaMode</source>
        <translation>Für 360-Grad-Panoramen den Panoramamodus einschalten.</translation>
    </message>
    <message>
        <source>Operator entfernen</source>
        <translation>Operator entfernen</translation>
    </message>
    <message>
        <source>Soll der Operator &quot;%1&quot; aus der Liste entfernt werden?</source>
        <translation>Soll der Operator &quot;%1&quot; aus der Liste entfernt werden?</translation>
    </message>
    <message>
        <source>Ja</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>Nein</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Alle Operatoren entfernen</source>
        <translation>Alle Operatoren entfernen</translation>
    </message>
    <message>
        <source>Sollen alle Operatoren aus der Liste entfernt werden?</source>
        <translation>Sollen alle Operatoren aus der Liste entfernt werden?</translation>
    </message>
    <message>
        <source>Expertenmodus</source>
        <translation>Expertenmodus</translation>
    </message>
    <message>
        <source>Layer Effekt: </source>
        <translation>Ebeneneffekt: </translation>
    </message>
    <message>
        <source>Titel Echtzeit-Wiedergabe</source>
        <translation>Echtzeit-Wiedergabe</translation>
    </message>
    <message>
        <source>Message Echtzeit-Wiedergabe nur im Preview Mode</source>
        <translation>Die Echtzeit-Wiedergabe läuft nur im Vorschaumodus. Vorschaumodus einschalten?</translation>
    </message>
    <message>
        <source>Geometrien einfügen</source>
        <translation>Geometrien einfügen</translation>
    </message>
    <message>
        <source>Alle Geometrien löschen</source>
        <translation>Alle Geometrien löschen</translation>
    </message>
    <message>
        <source>Sollen alle Geometrien aus dem Zwischenspeicher eingefügt werden?</source>
        <translation>Sollen alle Geometrien aus dem Zwischenspeicher eingefügt werden?</translation>
    </message>
    <message>
        <source>Sollen alle Geometrien für diesen Effekt entfernt werden?</source>
        <translation>Sollen alle Geometrien für diesen Effekt entfernt werden?</translation>
    </message>
</context>
<context>
    <name>HDRPresetCombineWindow</name>
    <message>
        <source>Abbrechen</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Addieren</source>
        <translation>Addieren</translation>
    </message>
    <message>
        <source>HDRPresetCombineWindow Addition</source>
        <translation>&lt;h3&gt;Voreinstellungen kombinieren&lt;/h3&gt;&lt;p&gt;Die Operatoren von Voreinstellung A werden ausgeführt, danach die von Voreinstellung B. Das Ergebnis wird als neue Benutzervoreinstellung gespeichert.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Kombinieren</source>
        <translation>Kombinieren</translation>
    </message>
    <message>
        <source>Kombinieren abbrechen</source>
        <translation>Kombinieren abbrechen</translation>
    </message>
    <message>
        <source>Kombinieren ausführen</source>
        <translation>Kombinieren ausführen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>PostProcessing Preset A</source>
        <translation>Erste Voreinstellung (wird zuerst ausgeführt)</translation>
    </message>
    <message>
        <source>PostProcessing Preset B</source>
        <translation>Zweite Voreinstellung (wird danach ausgeführt)</translation>
    </message>
    <message>
        <source>Vergeben sie einen Namen:</source>
        <translation>Vergeben sie einen Namen:</translation>
    </message>
    <message>
        <source>Voreinstellungen kombinieren</source>
        <translation>Voreinstellungen kombinieren</translation>
    </message>
    <message>
        <source>tooltip Preset Groupbox A</source>
        <translation>Vorschau der ersten Voreinstellung</translation>
    </message>
    <message>
        <source>tooltip Preset Groupbox B</source>
        <translation>Vorschau der zweiten Voreinstellung</translation>
    </message>
    <message>
        <source>tooltip Preset Groupbox Result</source>
        <translation>Vorschau der kombinierten Voreinstellung</translation>
    </message>
</context>
<context>
    <name>HDRPresetGroupBox</name>
    <message>
        <source>Abbrechen</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Die Voreinstellung konnte nicht geschrieben werden: %1</source>
        <translation>Die Voreinstellung konnte nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>Duplizieren</source>
        <translation>Duplizieren</translation>
    </message>
    <message>
        <source>Einstellungen speichern</source>
        <translation>Einstellungen speichern</translation>
    </message>
    <message>
        <source>Ja</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>Kopie</source>
        <translation>Kopie</translation>
    </message>
    <message>
        <source>Löschen</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Nach oben schieben</source>
        <translation>Nach oben schieben</translation>
    </message>
    <message>
        <source>Nach unten schieben</source>
        <translation>Nach unten schieben</translation>
    </message>
    <message>
        <source>Nein</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Soll die Voreinstellung &quot;%1&quot; wirklich gelöscht werden?</source>
        <translation>Soll die Voreinstellung &quot;%1&quot; wirklich gelöscht werden?</translation>
    </message>
    <message>
        <source>Soll die Voreinstellung &quot;%1&quot; wirklich zurückgesetzt werden?</source>
        <translation>Soll die Voreinstellung &quot;%1&quot; wirklich zurückgesetzt werden?</translation>
    </message>
    <message>
        <source>Umbenennen</source>
        <translation>Umbenennen</translation>
    </message>
    <message>
        <source>Vergeben sie einen Namen:</source>
        <translation>Vergeben sie einen Namen:</translation>
    </message>
    <message>
        <source>Vergeben sie einen neuen Namen:</source>
        <translation>Vergeben sie einen neuen Namen:</translation>
    </message>
    <message>
        <source>Voreinstellung kopieren</source>
        <translation>Voreinstellung kopieren</translation>
    </message>
    <message>
        <source>Voreinstellung löschen</source>
        <translation>Voreinstellung löschen</translation>
    </message>
    <message>
        <source>Voreinstellung speichern</source>
        <translation>Voreinstellung speichern</translation>
    </message>
    <message>
        <source>Voreinstellung umbenennen</source>
        <translation>Voreinstellung umbenennen</translation>
    </message>
    <message>
        <source>Voreinstellung zurücksetzen</source>
        <translation>Voreinstellung zurücksetzen</translation>
    </message>
    <message>
        <source>Zurücksetzen</source>
        <translation>Zurücksetzen</translation>
    </message>
</context>
<context>
    <name>HDRPresetsDockWidget</name>
    <message>
        <source>Alle</source>
        <translation>Alle</translation>
    </message>
    <message>
        <source>Architektur</source>
        <translation>Architektur</translation>
    </message>
    <message>
        <source>Benutzer</source>
        <translation>Benutzer</translation>
    </message>
    <message>
        <source>Bereits vorhandene Presets:</source>
        <translation>Bereits vorhandene Voreinstellungen:</translation>
    </message>
    <message>
        <source>Critical error</source>
        <translation>Kritischer Fehler</translation>
    </message>
    <message>
        <source>Fehlerhafte Presets:</source>
        <translation>Fehlerhafte Voreinstellungen:</translation>
    </message>
    <message>
        <source>HDRPresetsDockWidget PresetCombiner</source>
        <translation>&lt;p&gt;&lt;b&gt;Kombinieren&lt;/b&gt; verbindet zwei Voreinstellungen zu einer neuen Benutzervoreinstellung.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>HDRPresetsDockWidget PresetImportExport</source>
        <translation>&lt;p&gt;&lt;b&gt;Importieren&lt;/b&gt; und &lt;b&gt;Exportieren&lt;/b&gt; tauschen Voreinstellungen als Dateien mit anderen Installationen aus.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>HDRPresetsDockWidget lumivex</source>
        <translation>&lt;h3&gt;Voreinstellungen&lt;/h3&gt;&lt;p&gt;Jede Kachel zeigt eine Voreinstellung der Nachbearbeitung auf Ihrem Bild. Ein Klick wendet sie an; die Schaltflächen kopieren, speichern, benennen oder löschen sie. Die Kategorien oben filtern die Kacheln.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Importierte Presets:</source>
        <translation>Importierte Voreinstellungen:</translation>
    </message>
    <message>
        <source>Inkompatible Presets:</source>
        <translation>Inkompatible Voreinstellungen:</translation>
    </message>
    <message>
        <source>Kombinieren</source>
        <translation>Kombinieren</translation>
    </message>
    <message>
        <source>Künstlerisch</source>
        <translation>Künstlerisch</translation>
    </message>
    <message>
        <source>Landschaft</source>
        <translation>Landschaft</translation>
    </message>
    <message>
        <source>MyPreset</source>
        <translation>MeineVoreinstellung</translation>
    </message>
    <message>
        <source>Natürlich</source>
        <translation>Natürlich</translation>
    </message>
    <message>
        <source>No post-processing presets found! Please reinstall...</source>
        <translation>Keine Voreinstellungen für die Nachbearbeitung gefunden! Bitte installieren Sie das Programm neu.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <source>Portrait</source>
        <translation>Portrait</translation>
    </message>
    <message>
        <source>Preset Export</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>Preset Import</source>
        <translation>Importieren</translation>
    </message>
    <message>
        <source>Preset Import Messagetitle</source>
        <translation>Voreinstellungen importieren</translation>
    </message>
    <message>
        <source>Preset exportieren</source>
        <translation>Voreinstellung exportieren</translation>
    </message>
    <message>
        <source>Presets importieren</source>
        <translation>Voreinstellungen importieren</translation>
    </message>
    <message>
        <source>Surreal</source>
        <translation>Surreal</translation>
    </message>
    <message>
        <source>Tooltip Preset Export</source>
        <translation>Die ausgewählte Voreinstellung als Datei speichern</translation>
    </message>
    <message>
        <source>Tooltip Preset Import</source>
        <translation>Voreinstellungen aus Dateien in die Bibliothek übernehmen</translation>
    </message>
    <message>
        <source>tooltip Preset Groupbox</source>
        <translation>Klicken Sie auf das Vorschaubild, um die Voreinstellung anzuwenden</translation>
    </message>
    <message>
        <source>tooltip Votreinstellungen kombinieren</source>
        <translation>Zwei Voreinstellungen zu einer neuen verbinden</translation>
    </message>
</context>
<context>
    <name>HDRProgressThread</name>
    <message>
        <source>Fortschritt</source>
        <translation>Fortschritt</translation>
    </message>
</context>
<context>
    <name>HDRProgressWindow</name>
    <message>
        <source>Fortfahren</source>
        <translation>Fortfahren</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Es ist ein Fehler aufgetreten, Protokoll oder fortfahren</source>
        <translation>Es ist ein Fehler aufgetreten. Prüfen Sie das Protokoll oder fahren Sie fort.</translation>
    </message>
</context>
<context>
    <name>HDRRAWDevelopmentWindow</name>
    <message>
        <source>1st order BSpline</source>
        <translation>B-Spline 1. Ordnung</translation>
    </message>
    <message>
        <source>Ausrichtung</source>
        <translation>Ausrichtung</translation>
    </message>
    <message>
        <source>Belichtung optimieren</source>
        <translation>Belichtung optimieren</translation>
    </message>
    <message>
        <source>Bewegung/ Scherung/ Drehung korrigieren</source>
        <translation>Bewegung/ Scherung/ Drehung korrigieren</translation>
    </message>
    <message>
        <source>Blauer Himmel (Schatten)</source>
        <translation>Blauer Himmel (Schatten)</translation>
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
        <translation>Entrauschen</translation>
    </message>
    <message>
        <source>Farbraum</source>
        <translation>Farbraum</translation>
    </message>
    <message>
        <source>Farbtemperatur</source>
        <translation>Farbtemperatur</translation>
    </message>
    <message>
        <source>Fenster immer anzeigen</source>
        <translation>Fenster immer anzeigen</translation>
    </message>
    <message>
        <source>Geisterbildkorrektur</source>
        <translation>Geisterbildkorrektur</translation>
    </message>
    <message>
        <source>Genauigkeit</source>
        <translation>Genauigkeit</translation>
    </message>
    <message>
        <source>Glühbirne 100 Watt</source>
        <translation>Glühbirne 100 Watt</translation>
    </message>
    <message>
        <source>Glühbirne 200 Watt</source>
        <translation>Glühbirne 200 Watt</translation>
    </message>
    <message>
        <source>Glühbirne 60 Watt</source>
        <translation>Glühbirne 60 Watt</translation>
    </message>
    <message>
        <source>HDRRAWDevelopmentWindow lumivex</source>
        <translation>&lt;p&gt;Farbraum und Weißabgleich gelten für jedes Foto, das danach geladen wird. Ein Weißabgleich lässt sich aus der Liste, als Kelvinwert oder durch einen Klick in den Farbstreifen wählen.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>HDRRAWDevelopmentWindow lumivex Topic</source>
        <translation>&lt;h3&gt;RAW-Entwicklung&lt;/h3&gt;</translation>
    </message>
    <message>
        <source>Halogenlampe</source>
        <translation>Halogenlampe</translation>
    </message>
    <message>
        <source>Hotpixel korrigieren</source>
        <translation>Hotpixel korrigieren</translation>
    </message>
    <message>
        <source>ImageType</source>
        <translation>Motiv</translation>
    </message>
    <message>
        <source>Interpolation S-Kurve</source>
        <translation>Interpolation S-Kurve</translation>
    </message>
    <message>
        <source>Interpolation S-Kurve kubisch</source>
        <translation>Interpolation S-Kurve kubisch</translation>
    </message>
    <message>
        <source>Interpolation S-Kurve quadratisch</source>
        <translation>Interpolation S-Kurve quadratisch</translation>
    </message>
    <message>
        <source>Interpolation keine</source>
        <translation>Interpolation keine</translation>
    </message>
    <message>
        <source>Interpolation kubisch</source>
        <translation>Interpolation kubisch</translation>
    </message>
    <message>
        <source>Interpolation linear</source>
        <translation>Interpolation linear</translation>
    </message>
    <message>
        <source>Interpolation quadratisch</source>
        <translation>Interpolation quadratisch</translation>
    </message>
    <message>
        <source>Kamerarotation korrigieren</source>
        <translation>Kamerarotation korrigieren</translation>
    </message>
    <message>
        <source>Kamerazoom korrigieren</source>
        <translation>Kamerazoom korrigieren</translation>
    </message>
    <message>
        <source>Kerzenschein</source>
        <translation>Kerzenschein</translation>
    </message>
    <message>
        <source>Leuchtstofflampe</source>
        <translation>Leuchtstofflampe</translation>
    </message>
    <message>
        <source>Mikrodetails korrigieren</source>
        <translation>Mikrodetails korrigieren</translation>
    </message>
    <message>
        <source>Mittagssonne</source>
        <translation>Mittagssonne</translation>
    </message>
    <message>
        <source>Morgen-/Abendsonne</source>
        <translation>Morgen-/Abendsonne</translation>
    </message>
    <message>
        <source>Nebel</source>
        <translation>Nebel</translation>
    </message>
    <message>
        <source>O-Spline</source>
        <translation>O-Spline</translation>
    </message>
    <message>
        <source>Optimierung der Belichtung</source>
        <translation>Optimierung der Belichtung</translation>
    </message>
    <message>
        <source>Qualität hoch</source>
        <translation>Qualität hoch</translation>
    </message>
    <message>
        <source>Qualität normal</source>
        <translation>Qualität normal</translation>
    </message>
    <message>
        <source>Qualität schnell</source>
        <translation>Qualität schnell</translation>
    </message>
    <message>
        <source>Qualität ultra</source>
        <translation>Qualität ultra</translation>
    </message>
    <message>
        <source>RAW Bestätigen</source>
        <translation>Einstellungen übernehmen und Fenster schließen</translation>
    </message>
    <message>
        <source>RAW Farbraum</source>
        <translation>Farbraum, in den das Foto beim Laden umgerechnet wird</translation>
    </message>
    <message>
        <source>RAW Farbraum Groupbox</source>
        <translation>Farbraum beim Laden umrechnen</translation>
    </message>
    <message>
        <source>RAW WhiteBalance Groupbox</source>
        <translation>Weißabgleich beim Laden anwenden</translation>
    </message>
    <message>
        <source>RAW WhiteBalance Listbox</source>
        <translation>Lichtquelle der Aufnahme</translation>
    </message>
    <message>
        <source>RAW WhiteBalance Temperatur Slider</source>
        <translation>Farbtemperatur in Kelvin</translation>
    </message>
    <message>
        <source>RAW auf Standardwerte zurücksetzen</source>
        <translation>Alle Einstellungen auf die Standardwerte zurücksetzen</translation>
    </message>
    <message>
        <source>RAW-Entwicklung lumivex</source>
        <translation>RAW-Entwicklung</translation>
    </message>
    <message>
        <source>Schärfe</source>
        <translation>Schärfe</translation>
    </message>
    <message>
        <source>Skalierung</source>
        <translation>Skalierung</translation>
    </message>
    <message>
        <source>Suchradius</source>
        <translation>Suchradius</translation>
    </message>
    <message>
        <source>Tooltip Fenster immer anzeigen</source>
        <translation>Dieses Fenster vor jedem Laden eines Fotos anzeigen</translation>
    </message>
    <message>
        <source>Verschiebung korrigieren</source>
        <translation>Verschiebung korrigieren</translation>
    </message>
    <message>
        <source>Vor-/Nachmittagssonne</source>
        <translation>Vor-/Nachmittagssonne</translation>
    </message>
    <message>
        <source>Weißabgleich</source>
        <translation>Weißabgleich</translation>
    </message>
    <message>
        <source>automatisch</source>
        <translation>automatisch</translation>
    </message>
    <message>
        <source>automatischer Beschnitt ausgerichteter Bilder</source>
        <translation>automatischer Beschnitt ausgerichteter Bilder</translation>
    </message>
    <message>
        <source>bedeckter Himmel</source>
        <translation>bedeckter Himmel</translation>
    </message>
    <message>
        <source>bilinear</source>
        <translation>bilinear</translation>
    </message>
    <message>
        <source>cubic</source>
        <translation>kubisch</translation>
    </message>
    <message>
        <source>cubic bspline</source>
        <translation>kubischer B-Spline</translation>
    </message>
    <message>
        <source>dunkle Bereiche farblich optimieren</source>
        <translation>dunkle Bereiche farblich optimieren</translation>
    </message>
    <message>
        <source>dunkle Bilder stärker entrauschen</source>
        <translation>dunkle Bilder stärker entrauschen</translation>
    </message>
    <message>
        <source>genetischen Algorithmus verwenden</source>
        <translation>genetischen Algorithmus verwenden</translation>
    </message>
    <message>
        <source>gering</source>
        <translation>gering</translation>
    </message>
    <message>
        <source>hoch</source>
        <translation>hoch</translation>
    </message>
    <message>
        <source>nördliches Himmelslicht</source>
        <translation>nördliches Himmelslicht</translation>
    </message>
    <message>
        <source>panorama checkbox</source>
        <translation>360°-Panorama</translation>
    </message>
    <message>
        <source>scharf</source>
        <translation>scharf</translation>
    </message>
    <message>
        <source>schwach</source>
        <translation>schwach</translation>
    </message>
    <message>
        <source>sinc filter</source>
        <translation>Sinc-Filter</translation>
    </message>
    <message>
        <source>stark</source>
        <translation>stark</translation>
    </message>
    <message>
        <source>use local MTB</source>
        <translation>lokale Schwellwertbilder verwenden</translation>
    </message>
    <message>
        <source>weich</source>
        <translation>weich</translation>
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
        <translation>Statistik</translation>
    </message>
    <message>
        <source>Statistic Exit</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>tooltip StatistikWindow verlassen</source>
        <translation>Statistik schließen</translation>
    </message>
</context>
<context>
    <name>HDRStyleSelectWindow</name>
    <message>
        <source>Interface Stil anpassen</source>
        <translation>Oberfläche anpassen</translation>
    </message>
    <message>
        <source>Stil anpassen</source>
        <translation>Stil anpassen</translation>
    </message>
    <message>
        <source>Tooltip ColorSelectLabel</source>
        <translation>Klicken oder ziehen Sie, um die Grundfarbe der Oberfläche zu wählen</translation>
    </message>
    <message>
        <source>Tooltip ColorLabel</source>
        <translation>Die gewählte Grundfarbe</translation>
    </message>
    <message>
        <source>helles Design</source>
        <translation>helles Design</translation>
    </message>
    <message>
        <source>Tooltip helles Design</source>
        <translation>Hellere Farben für die Oberfläche verwenden</translation>
    </message>
    <message>
        <source>rundes Design</source>
        <translation>rundes Design</translation>
    </message>
    <message>
        <source>Tooltip rundes Design</source>
        <translation>Bedienelemente mit abgerundeten Ecken zeichnen</translation>
    </message>
    <message>
        <source>Übernehmen</source>
        <translation>Übernehmen</translation>
    </message>
    <message>
        <source>tooltip Übernehmen</source>
        <translation>Die gewählte Farbe und Form übernehmen</translation>
    </message>
    <message>
        <source>Verwerfen</source>
        <translation>Verwerfen</translation>
    </message>
    <message>
        <source>tooltip Verwerfen</source>
        <translation>Das Fenster schließen und den bisherigen Stil behalten</translation>
    </message>
</context>
<context>
    <name>HDRTimelineDockWidget</name>
    <message>
        <source>tooltip Timeline-Punkt einladen</source>
        <translation>Diesen Undo-Punkt wieder einladen</translation>
    </message>
    <message>
        <source>tooltip Timeline-Punkt löschen</source>
        <translation>Diesen Undo-Punkt löschen</translation>
    </message>
    <message>
        <source>Warnung</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Der Undo-Punkt konnte nicht gelöscht werden:</source>
        <translation>Der Undo-Punkt konnte nicht gelöscht werden:</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <source>Undo-Eintrag</source>
        <translation>Undo-Eintrag</translation>
    </message>
    <message>
        <source>Undo-Einträge</source>
        <translation>Undo-Einträge</translation>
    </message>
    <message>
        <source>verfügbar</source>
        <translation>verfügbar</translation>
    </message>
    <message>
        <source>Löschen eines Undo-Punktes</source>
        <translation>Löschen eines Undo-Punktes</translation>
    </message>
    <message>
        <source>Soll dieser Undo-Punkt wirklich gelöscht werden?</source>
        <translation>Soll dieser Undo-Punkt wirklich gelöscht werden?</translation>
    </message>
    <message>
        <source>Ja</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>Nein</source>
        <translation>Nein</translation>
    </message>
</context>
<context>
    <name>HDRTonemappingListWidget</name>
    <message>
        <source>hinzufügen</source>
        <translation>hinzufügen</translation>
    </message>
</context>
<context>
    <name>IExposure</name>
    <message>
        <source>Es steht nicht genug Arbeitsspeicher zur Verfügung.</source>
        <translation>Es steht nicht genug Arbeitsspeicher zur Verfügung.</translation>
    </message>
    <message>
        <source>Es steht nicht genügend Arbeitsspeicher zur Verfügung.</source>
        <translation>Es steht nicht genügend Arbeitsspeicher zur Verfügung.</translation>
    </message>
    <message>
        <source>Datei konnte nicht geladen werden.</source>
        <translation>Datei konnte nicht geladen werden.</translation>
    </message>
    <message>
        <source>Hotpixel werden entfernt</source>
        <translation>Hotpixel werden entfernt</translation>
    </message>
    <message>
        <source>dunkle Bereiche werden optimiert</source>
        <translation>dunkle Bereiche werden optimiert</translation>
    </message>
    <message>
        <source>Weißabgleich wird berechnet</source>
        <translation>Weißabgleich wird berechnet</translation>
    </message>
    <message>
        <source>Entrauschen wird berechnet</source>
        <translation>Entrauschen wird berechnet</translation>
    </message>
    <message>
        <source>Die Bilddatei konnte nicht neu geladen werden</source>
        <translation>Die Bilddatei konnte nicht neu geladen werden</translation>
    </message>
    <message>
        <source>Die neu geladene Bilddatei hat nicht die passene Auflösung</source>
        <translation>Die neu geladene Bilddatei hat nicht die passende Auflösung</translation>
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
        <translation>Ladevorgang</translation>
    </message>
    <message>
        <source>Bilder laden</source>
        <translation>Bilder laden</translation>
    </message>
    <message>
        <source>Bildvorbereitung</source>
        <translation>Bildvorbereitung</translation>
    </message>
    <message>
        <source>Projekt laden</source>
        <translation>Projekt laden</translation>
    </message>
    <message>
        <source>Projekt speichern</source>
        <translation>Projekt speichern</translation>
    </message>
    <message>
        <source>Bildausrichtung</source>
        <translation>Bildausrichtung</translation>
    </message>
    <message>
        <source>Geisterbildkorrektur</source>
        <translation>Geisterbildkorrektur</translation>
    </message>
    <message>
        <source>Belichtungsoptimierung</source>
        <translation>Belichtungsoptimierung</translation>
    </message>
    <message>
        <source>Tonemapping</source>
        <translation>Tonemapping</translation>
    </message>
    <message>
        <source>Bild speichern</source>
        <translation>Bild speichern</translation>
    </message>
    <message>
        <source>Undo-Daten bereinigen</source>
        <translation>Undo-Daten bereinigen</translation>
    </message>
    <message>
        <source>Stapelverarbeitung</source>
        <translation>Stapelverarbeitung</translation>
    </message>
    <message>
        <source>Web-Animation</source>
        <translation>Web-Animation</translation>
    </message>
    <message>
        <source>Tiefenkarte speichern</source>
        <translation>Tiefenkarte speichern</translation>
    </message>
    <message>
        <source>Neuberechnung</source>
        <translation>Neuberechnung</translation>
    </message>
</context>
<context>
    <name>SplashScreen</name>
    <message>
        <source>Initialisiere System</source>
        <translation>Initialisiere System</translation>
    </message>
</context>
<context>
    <name>Statistic</name>
    <message>
        <source>Megapixel/Sekunde</source>
        <translation>Megapixel/Sekunde</translation>
    </message>
    <message>
        <source>Statistik</source>
        <translation>Statistik</translation>
    </message>
    <message>
        <source>Programmstarts</source>
        <translation>Programmstarts</translation>
    </message>
    <message>
        <source>Laden &amp; Speichern</source>
        <translation>Laden &amp; Speichern</translation>
    </message>
    <message>
        <source>Einzelbilder eingeladen</source>
        <translation>Einzelbilder eingeladen</translation>
    </message>
    <message>
        <source>Ergebnisbilder gespeichert</source>
        <translation>Ergebnisbilder gespeichert</translation>
    </message>
    <message>
        <source>Bestehende Projekte eingeladen</source>
        <translation>Bestehende Projekte eingeladen</translation>
    </message>
    <message>
        <source>Neue Projekte angelegt</source>
        <translation>Neue Projekte angelegt</translation>
    </message>
    <message>
        <source>Größte geladene Bilddatei (in Megapixel)</source>
        <translation>Größte geladene Bilddatei (in Megapixel)</translation>
    </message>
    <message>
        <source>An Externe Programme übertragene Bilddateien</source>
        <translation>An Externe Programme übertragene Bilddateien</translation>
    </message>
    <message>
        <source>Vom Plugin importierte Bilddateien</source>
        <translation>Vom Plugin importierte Bilddateien</translation>
    </message>
    <message>
        <source>Gesicherte Wiederherstellungspunkte</source>
        <translation>Gesicherte Wiederherstellungspunkte</translation>
    </message>
    <message>
        <source>Geladene Wiederherstellungspunkte</source>
        <translation>Geladene Wiederherstellungspunkte</translation>
    </message>
    <message>
        <source>Einzelbilder per Drag &amp; Drop geladen</source>
        <translation>Einzelbilder per Drag &amp; Drop geladen</translation>
    </message>
    <message>
        <source>Projekte per Drag &amp; Drop geladen</source>
        <translation>Projekte per Drag &amp; Drop geladen</translation>
    </message>
    <message>
        <source>Ordner per Drag &amp; Drop geladen</source>
        <translation>Ordner per Drag &amp; Drop geladen</translation>
    </message>
    <message>
        <source>Post-Processing &amp; Voreinstellungen</source>
        <translation>Nachbearbeitung &amp; Voreinstellungen</translation>
    </message>
    <message>
        <source>Aufwendigste Berechnung (in Sekunden)</source>
        <translation>Aufwendigste Berechnung (in Sekunden)</translation>
    </message>
    <message>
        <source>Echtzeit Animationsmodus</source>
        <translation>Echtzeit Animationsmodus</translation>
    </message>
    <message>
        <source>Voreinstellungen erzeugt</source>
        <translation>Voreinstellungen erzeugt</translation>
    </message>
    <message>
        <source>Voreinstellungen gelöscht</source>
        <translation>Voreinstellungen gelöscht</translation>
    </message>
    <message>
        <source>Voreinstellungen importiert</source>
        <translation>Voreinstellungen importiert</translation>
    </message>
    <message>
        <source>Voreinstellungen exportiert</source>
        <translation>Voreinstellungen exportiert</translation>
    </message>
    <message>
        <source>Voreinstellungen umbenannt</source>
        <translation>Voreinstellungen umbenannt</translation>
    </message>
    <message>
        <source>Preset-Combiner</source>
        <translation>Voreinstellungen kombiniert</translation>
    </message>
    <message>
        <source>Modulnutzung</source>
        <translation>Modulnutzung</translation>
    </message>
    <message>
        <source>Bilddaten-Browser geöffnet</source>
        <translation>Bilddaten-Browser geöffnet</translation>
    </message>
    <message>
        <source>Stapelverarbeitung geöffnet</source>
        <translation>Stapelverarbeitung geöffnet</translation>
    </message>
    <message>
        <source>Panoramaviewer geöffnet</source>
        <translation>Panoramaviewer geöffnet</translation>
    </message>
    <message>
        <source>EXIF-Informationen geöffnet</source>
        <translation>EXIF-Informationen geöffnet</translation>
    </message>
    <message>
        <source>Grenzpixelanzeige angesehen</source>
        <translation>Grenzpixelanzeige angesehen</translation>
    </message>
    <message>
        <source>Einstellungen geöffnet</source>
        <translation>Einstellungen geöffnet</translation>
    </message>
    <message>
        <source>Hilfe geöffnet</source>
        <translation>Hilfe geöffnet</translation>
    </message>
    <message>
        <source>Homepage aufgerufen</source>
        <translation>Homepage aufgerufen</translation>
    </message>
    <message>
        <source>Updatepage aufgerufen</source>
        <translation>Updatepage aufgerufen</translation>
    </message>
    <message>
        <source>About Fenster angezeigt</source>
        <translation>Fenster „Über Lumivex“ angezeigt</translation>
    </message>
    <message>
        <source>Fenster zurückgesetzt</source>
        <translation>Fenster zurückgesetzt</translation>
    </message>
    <message>
        <source>Zusatzfunktionen</source>
        <translation>Zusatzfunktionen</translation>
    </message>
    <message>
        <source>Belichtungsreihe horizontal gespiegelt</source>
        <translation>Belichtungsreihe horizontal gespiegelt</translation>
    </message>
    <message>
        <source>Belichtungsreihe vertikal gespiegelt</source>
        <translation>Belichtungsreihe vertikal gespiegelt</translation>
    </message>
    <message>
        <source>Belichtungsreihe nach links rotiert</source>
        <translation>Belichtungsreihe nach links rotiert</translation>
    </message>
    <message>
        <source>Belichtungsreihe nach rechts rotiert</source>
        <translation>Belichtungsreihe nach rechts rotiert</translation>
    </message>
</context>
<context>
    <name>_QListWidget</name>
    <message>
        <source>aktivieren</source>
        <translation>aktivieren</translation>
    </message>
    <message>
        <source>deaktivieren</source>
        <translation>deaktivieren</translation>
    </message>
    <message>
        <source>m_pFilterAllActivateAct</source>
        <translation>alle aktivieren</translation>
    </message>
    <message>
        <source>m_pFilterAllToggleAct</source>
        <translation>bis hierher aktivieren</translation>
    </message>
    <message>
        <source>m_pFilterAllSingleAct</source>
        <translation>nur diesen aktivieren</translation>
    </message>
    <message>
        <source>m_pFilterAllDeactivateAct</source>
        <translation>alle deaktivieren</translation>
    </message>
    <message>
        <source>kopieren</source>
        <translation>kopieren</translation>
    </message>
    <message>
        <source>zurücksetzen</source>
        <translation>zurücksetzen</translation>
    </message>
    <message>
        <source>zum Listenanfang</source>
        <translation>zum Listenanfang</translation>
    </message>
    <message>
        <source>zum Listenende</source>
        <translation>zum Listenende</translation>
    </message>
    <message>
        <source>entfernen</source>
        <translation>entfernen</translation>
    </message>
    <message>
        <source>alle entfernen</source>
        <translation>alle entfernen</translation>
    </message>
</context>
<context>
    <name>_QListWidgetWithContextMenu</name>
    <message>
        <source>zurücksetzen</source>
        <translation>zurücksetzen</translation>
    </message>
</context>
<context>
    <name>_QPreviewLabel</name>
    <message>
        <source>Leertaste zum stoppen</source>
        <translation>Esc zum Stoppen</translation>
    </message>
</context>
<context>
    <name>PPOperators.xml</name>
    <message>
        <source>tooltip AddGrain Glättung</source>
        <translation>Wie weich das Ergebnis geglättet wird.</translation>
    </message>
    <message>
        <source>tooltip AddGrain Körnung</source>
        <translation>Stärke des Filmkorns.</translation>
    </message>
    <message>
        <source>tooltip AddGrain Maskierung</source>
        <translation>Kurve, die festlegt, wie stark der Operator je nach Helligkeit des Bildpunkts wirkt.</translation>
    </message>
    <message>
        <source>tooltip AddReflector Farbe</source>
        <translation>Farbe des Effekts.</translation>
    </message>
    <message>
        <source>tooltip AddReflector Position</source>
        <translation>Lage des Effekts im Bild.</translation>
    </message>
    <message>
        <source>tooltip Airbag Position</source>
        <translation>Lage des Effekts im Bild.</translation>
    </message>
    <message>
        <source>tooltip Airbag Verzerrung</source>
        <translation>Stärke der Verzerrung.</translation>
    </message>
    <message>
        <source>tooltip Airbag Zoom</source>
        <translation>Vergrößerung, die leere Ränder nach der Verformung abschneidet.</translation>
    </message>
    <message>
        <source>tooltip ArtworkEnhance Detail</source>
        <translation>Menge der betonten Details.</translation>
    </message>
    <message>
        <source>tooltip ArtworkEnhance Radius</source>
        <translation>Größe der Umgebung in Pixeln, die um jeden Bildpunkt ausgewertet wird; größere Werte wirken großflächiger.</translation>
    </message>
    <message>
        <source>tooltip BasicTools Gamma Korrektur</source>
        <translation>Hellt die Mitteltöne auf oder dunkelt sie ab, ohne Schwarz und Weiß zu verändern.</translation>
    </message>
    <message>
        <source>tooltip BasicTools Helligkeit</source>
        <translation>Hellt das Bild auf oder dunkelt es ab.</translation>
    </message>
    <message>
        <source>tooltip BasicTools Kontrast</source>
        <translation>Erhöht oder verringert den Kontrast.</translation>
    </message>
    <message>
        <source>tooltip BasicTools Maskierung</source>
        <translation>Kurve, die festlegt, wie stark der Operator je nach Helligkeit des Bildpunkts wirkt.</translation>
    </message>
    <message>
        <source>tooltip BlackWhite Maskierung</source>
        <translation>Kurve, die festlegt, wie stark der Operator je nach Helligkeit des Bildpunkts wirkt.</translation>
    </message>
    <message>
        <source>tooltip BlackWhite Radius</source>
        <translation>Größe der Umgebung in Pixeln, die um jeden Bildpunkt ausgewertet wird; größere Werte wirken großflächiger.</translation>
    </message>
    <message>
        <source>tooltip BlackWhite Weißpunkt</source>
        <translation>Helligkeit, die zu reinem Weiß wird.</translation>
    </message>
    <message>
        <source>tooltip BleachBypass Entfärbung</source>
        <translation>Wie stark die Farben entsättigt werden.</translation>
    </message>
    <message>
        <source>tooltip BleachBypass Maskierung</source>
        <translation>Kurve, die festlegt, wie stark der Operator je nach Helligkeit des Bildpunkts wirkt.</translation>
    </message>
    <message>
        <source>tooltip BleachBypass Stärke</source>
        <translation>Stärke der Wirkung.</translation>
    </message>
    <message>
        <source>tooltip Border Breite</source>
        <translation>Breite des Übergangs.</translation>
    </message>
    <message>
        <source>tooltip Border Randfarbe</source>
        <translation>Farbe des Rahmens.</translation>
    </message>
    <message>
        <source>tooltip Border Rundung</source>
        <translation>Rundung der Ecken.</translation>
    </message>
    <message>
        <source>tooltip Bubble Lichtquelle</source>
        <translation>Lage der Lichtquelle.</translation>
    </message>
    <message>
        <source>tooltip Bubble Raster</source>
        <translation>Größe des Rasters.</translation>
    </message>
    <message>
        <source>tooltip Bubble Struktur</source>
        <translation>Feinheit der Oberflächenstruktur.</translation>
    </message>
    <message>
        <source>tooltip C64 Raster</source>
        <translation>Größe des Rasters.</translation>
    </message>
    <message>
        <source>tooltip CenterLight Aspekt</source>
        <translation>Verhältnis von Breite zu Höhe des belichteten Bereichs.</translation>
    </message>
    <message>
        <source>tooltip CenterLight Mitte</source>
        <translation>Belichtung der Bildmitte.</translation>
    </message>
    <message>
        <source>tooltip CenterLight Position</source>
        <translation>Lage des Effekts im Bild.</translation>
    </message>
    <message>
        <source>tooltip CenterLight Ränder</source>
        <translation>Belichtung der Bildränder.</translation>
    </message>
    <message>
        <source>tooltip ChannelSmooth Blauanteil</source>
        <translation>Anteil des blauen Farbkanals.</translation>
    </message>
    <message>
        <source>tooltip ChannelSmooth Grünanteil</source>
        <translation>Anteil des grünen Farbkanals.</translation>
    </message>
    <message>
        <source>tooltip ChannelSmooth Radius</source>
        <translation>Größe der Umgebung in Pixeln, die um jeden Bildpunkt ausgewertet wird; größere Werte wirken großflächiger.</translation>
    </message>
    <message>
        <source>tooltip ChannelSmooth Rotanteil</source>
        <translation>Anteil des roten Farbkanals.</translation>
    </message>
    <message>
        <source>tooltip ChromaticAberration Radius</source>
        <translation>Größe der Umgebung in Pixeln, die um jeden Bildpunkt ausgewertet wird; größere Werte wirken großflächiger.</translation>
    </message>
    <message>
        <source>tooltip ChromaticAberration Schärfe</source>
        <translation>Wie viel Schärfe und Kanten erhalten bleiben.</translation>
    </message>
    <message>
        <source>tooltip ColorBalance Cyan-Rot</source>
        <translation>Verschiebt die Farben zwischen Cyan und Rot.</translation>
    </message>
    <message>
        <source>tooltip ColorBalance Gelb-Blau</source>
        <translation>Verschiebt die Farben zwischen Gelb und Blau.</translation>
    </message>
    <message>
        <source>tooltip ColorBalance Magenta-Grün</source>
        <translation>Verschiebt die Farben zwischen Magenta und Grün.</translation>
    </message>
    <message>
        <source>tooltip ColorContrast Maskierung</source>
        <translation>Kurve, die festlegt, wie stark der Operator je nach Helligkeit des Bildpunkts wirkt.</translation>
    </message>
    <message>
        <source>tooltip ColorContrast Radius</source>
        <translation>Größe der Umgebung in Pixeln, die um jeden Bildpunkt ausgewertet wird; größere Werte wirken großflächiger.</translation>
    </message>
    <message>
        <source>tooltip ColorContrast Stärke</source>
        <translation>Stärke der Wirkung.</translation>
    </message>
    <message>
        <source>tooltip ColorEnhance Farbton</source>
        <translation>Farbton, um den gedreht oder mit dem getönt wird.</translation>
    </message>
    <message>
        <source>tooltip ColorEnhance Makrodetail</source>
        <translation>Betont große Strukturen und Flächenkontraste.</translation>
    </message>
    <message>
        <source>tooltip ColorEnhance Mikrodetail</source>
        <translation>Betont feine Strukturen und Texturen.</translation>
    </message>
    <message>
        <source>tooltip ColorEnhance Radius</source>
        <translation>Größe der Umgebung in Pixeln, die um jeden Bildpunkt ausgewertet wird; größere Werte wirken großflächiger.</translation>
    </message>
    <message>
        <source>tooltip ColorIntensity Maskierung</source>
        <translation>Kurve, die festlegt, wie stark der Operator je nach Helligkeit des Bildpunkts wirkt.</translation>
    </message>
    <message>
        <source>tooltip ColorIntensity Stärke</source>
        <translation>Stärke der Wirkung.</translation>
    </message>
    <message>
        <source>tooltip ColorLightShadow Lichter färben</source>
        <translation>Stärke der Färbung der Lichter.</translation>
    </message>
    <message>
        <source>tooltip ColorLightShadow Schatten färben</source>
        <translation>Stärke der Färbung der Schatten.</translation>
    </message>
    <message>
        <source>tooltip ColorMix Farbton</source>
        <translation>Farbton, um den gedreht oder mit dem getönt wird.</translation>
    </message>
    <message>
        <source>tooltip ColorMix Stärke</source>
        <translation>Stärke der Wirkung.</translation>
    </message>
    <message>
        <source>tooltip ColorPalette Gelb</source>
        <translation>Wirkung auf die gelben Farbtöne.</translation>
    </message>
    <message>
        <source>tooltip ColorPalette Grün</source>
        <translation>Wirkung auf die grünen Farbtöne.</translation>
    </message>
    <message>
        <source>tooltip ColorPalette Himmelblau</source>
        <translation>Wirkung auf die himmelblauen Töne.</translation>
    </message>
    <message>
        <source>tooltip ColorPalette Königsblau</source>
        <translation>Wirkung auf die königsblauen Töne.</translation>
    </message>
    <message>
        <source>tooltip ColorPalette Lila</source>
        <translation>Wirkung auf die lila Farbtöne.</translation>
    </message>
    <message>
        <source>tooltip ColorPalette Magenta</source>
        <translation>Wirkung auf die Magentatöne.</translation>
    </message>
    <message>
        <source>tooltip ColorPalette Orange</source>
        <translation>Wirkung auf die orangen Farbtöne.</translation>
    </message>
    <message>
        <source>tooltip ColorPalette Rot</source>
        <translation>Wirkung auf die roten Farbtöne.</translation>
    </message>
    <message>
        <source>tooltip ColorSmooth Farbton</source>
        <translation>Farbton, um den gedreht oder mit dem getönt wird.</translation>
    </message>
    <message>
        <source>tooltip ColorSmooth Radius</source>
        <translation>Größe der Umgebung in Pixeln, die um jeden Bildpunkt ausgewertet wird; größere Werte wirken großflächiger.</translation>
    </message>
    <message>
        <source>tooltip ColorSmooth Schärfe</source>
        <translation>Wie viel Schärfe und Kanten erhalten bleiben.</translation>
    </message>
    <message>
        <source>tooltip ColorSolarize Stärke</source>
        <translation>Stärke der Wirkung.</translation>
    </message>
    <message>
        <source>tooltip ColorTemperature Maskierung</source>
        <translation>Kurve, die festlegt, wie stark der Operator je nach Helligkeit des Bildpunkts wirkt.</translation>
    </message>
    <message>
        <source>tooltip ColorTemperature Temperatur</source>
        <translation>Farbtemperatur in Kelvin.</translation>
    </message>
    <message>
        <source>tooltip ColorTint Bleichung</source>
        <translation>Wie stark die Farben ausgebleicht werden.</translation>
    </message>
    <message>
        <source>tooltip ColorTint Maskierung</source>
        <translation>Kurve, die festlegt, wie stark der Operator je nach Helligkeit des Bildpunkts wirkt.</translation>
    </message>
    <message>
        <source>tooltip ComicPaint Abstufungen</source>
        <translation>Anzahl der Tonwertstufen.</translation>
    </message>
    <message>
        <source>tooltip ComicPaint Farbe</source>
        <translation>Farbe des Effekts.</translation>
    </message>
    <message>
        <source>tooltip ComicPaint Linienstärke</source>
        <translation>Breite der gezeichneten Linien.</translation>
    </message>
    <message>
        <source>tooltip ComicPaint Radius</source>
        <translation>Größe der Umgebung in Pixeln, die um jeden Bildpunkt ausgewertet wird; größere Werte wirken großflächiger.</translation>
    </message>
    <message>
        <source>tooltip ComicPaint Solarisierung</source>
        <translation>Stärke der Tonwertumkehr.</translation>
    </message>
    <message>
        <source>tooltip Cubify Größe</source>
        <translation>Größe des wirksamen Bereichs.</translation>
    </message>
    <message>
        <source>tooltip Cubify Maskierung</source>
        <translation>Kurve, die festlegt, wie stark der Operator je nach Helligkeit des Bildpunkts wirkt.</translation>
    </message>
    <message>
        <source>tooltip Cubify Rand</source>
        <translation>Breite des Randes um jeden Würfel.</translation>
    </message>
    <message>
        <source>tooltip Cubify Transparenz</source>
        <translation>Wie durchscheinend der Effekt ist.</translation>
    </message>
    <message>
        <source>tooltip DeNoiseAverage Maskierung</source>
        <translation>Kurve, die festlegt, wie stark der Operator je nach Helligkeit des Bildpunkts wirkt.</translation>
    </message>
    <message>
        <source>tooltip DeNoiseAverage Schärfe</source>
        <translation>Wie viel Schärfe und Kanten erhalten bleiben.</translation>
    </message>
    <message>
        <source>tooltip DeNoiseMedian Maskierung</source>
        <translation>Kurve, die festlegt, wie stark der Operator je nach Helligkeit des Bildpunkts wirkt.</translation>
    </message>
    <message>
        <source>tooltip DeNoiseMedian Schärfe</source>
        <translation>Wie viel Schärfe und Kanten erhalten bleiben.</translation>
    </message>
    <message>
        <source>tooltip DeNoiseMinMax Maskierung</source>
        <translation>Kurve, die festlegt, wie stark der Operator je nach Helligkeit des Bildpunkts wirkt.</translation>
    </message>
    <message>
        <source>tooltip DeNoiseMinMax Schärfe</source>
        <translation>Wie viel Schärfe und Kanten erhalten bleiben.</translation>
    </message>
    <message>
        <source>tooltip DirBlur Leuchten</source>
        <translation>Wie stark helle Bereiche nachleuchten.</translation>
    </message>
    <message>
        <source>tooltip DirBlur Maskierung</source>
        <translation>Kurve, die festlegt, wie stark der Operator je nach Helligkeit des Bildpunkts wirkt.</translation>
    </message>
    <message>
        <source>tooltip DirBlur Richtung</source>
        <translation>Richtung der Bewegung.</translation>
    </message>
    <message>
        <source>tooltip DirSharpen Maskierung</source>
        <translation>Kurve, die festlegt, wie stark der Operator je nach Helligkeit des Bildpunkts wirkt.</translation>
    </message>
    <message>
        <source>tooltip DirSharpen Richtung</source>
        <translation>Richtung der Bewegung.</translation>
    </message>
    <message>
        <source>tooltip DirSharpen Stärke</source>
        <translation>Stärke der Wirkung.</translation>
    </message>
    <message>
        <source>tooltip Enhance Makrodetail</source>
        <translation>Betont große Strukturen und Flächenkontraste.</translation>
    </message>
    <message>
        <source>tooltip Enhance Maskierung</source>
        <translation>Kurve, die festlegt, wie stark der Operator je nach Helligkeit des Bildpunkts wirkt.</translation>
    </message>
    <message>
        <source>tooltip Enhance Mikrodetail</source>
        <translation>Betont feine Strukturen und Texturen.</translation>
    </message>
    <message>
        <source>tooltip Enhance Radius</source>
        <translation>Größe der Umgebung in Pixeln, die um jeden Bildpunkt ausgewertet wird; größere Werte wirken großflächiger.</translation>
    </message>
    <message>
        <source>tooltip Focus Radius</source>
        <translation>Größe der Umgebung in Pixeln, die um jeden Bildpunkt ausgewertet wird; größere Werte wirken großflächiger.</translation>
    </message>
    <message>
        <source>tooltip Focus Weichzeichnung</source>
        <translation>Stärke der Weichzeichnung außerhalb des Fokus.</translation>
    </message>
    <message>
        <source>tooltip Focus Zentrum</source>
        <translation>Mittelpunkt des Effekts.</translation>
    </message>
    <message>
        <source>tooltip GammaColor Gamma Blauanteil</source>
        <translation>Gamma des blauen Kanals.</translation>
    </message>
    <message>
        <source>tooltip GammaColor Gamma Grünanteil</source>
        <translation>Gamma des grünen Kanals.</translation>
    </message>
    <message>
        <source>tooltip GammaColor Gamma Rotanteil</source>
        <translation>Gamma des roten Kanals.</translation>
    </message>
    <message>
        <source>tooltip Geometry</source>
        <translation>Masken, die die Wirkung des Operators auf Bereiche des Bildes beschränken.</translation>
    </message>
    <message>
        <source>tooltip GlasStruct Brechung</source>
        <translation>Wie stark das Licht an der Struktur gebrochen wird.</translation>
    </message>
    <message>
        <source>tooltip GlasStruct Lichtquelle</source>
        <translation>Lage der Lichtquelle.</translation>
    </message>
    <message>
        <source>tooltip GlasStruct Struktur</source>
        <translation>Feinheit der Oberflächenstruktur.</translation>
    </message>
    <message>
        <source>tooltip GradationLagrange Gradationskurve</source>
        <translation>Tonwertkurve: ordnet jeder Eingangshelligkeit eine neue Helligkeit zu.</translation>
    </message>
    <message>
        <source>tooltip Greyscale Blauanteil</source>
        <translation>Anteil des blauen Farbkanals.</translation>
    </message>
    <message>
        <source>tooltip Greyscale Cyananteil</source>
        <translation>Anteil der cyanfarbenen Töne.</translation>
    </message>
    <message>
        <source>tooltip Greyscale Gelbanteil</source>
        <translation>Anteil der gelben Farbtöne.</translation>
    </message>
    <message>
        <source>tooltip Greyscale Grünanteil</source>
        <translation>Anteil des grünen Farbkanals.</translation>
    </message>
    <message>
        <source>tooltip Greyscale Rotanteil</source>
        <translation>Anteil des roten Farbkanals.</translation>
    </message>
    <message>
        <source>tooltip Greyscale Violettanteil</source>
        <translation>Anteil der violetten Töne.</translation>
    </message>
    <message>
        <source>tooltip HSL Belichtung</source>
        <translation>Hellt das Bild auf oder dunkelt es ab.</translation>
    </message>
    <message>
        <source>tooltip HSL Farbton</source>
        <translation>Farbton, um den gedreht oder mit dem getönt wird.</translation>
    </message>
    <message>
        <source>tooltip HSL Maskierung</source>
        <translation>Kurve, die festlegt, wie stark der Operator je nach Helligkeit des Bildpunkts wirkt.</translation>
    </message>
    <message>
        <source>tooltip HSL Sättigung</source>
        <translation>Erhöht oder verringert die Farbsättigung.</translation>
    </message>
    <message>
        <source>tooltip HistogramEqualize Stärke</source>
        <translation>Stärke der Wirkung.</translation>
    </message>
    <message>
        <source>tooltip Horizon Bogenminuten</source>
        <translation>Drehwinkel in Bogenminuten zum Ausrichten des Horizonts.</translation>
    </message>
    <message>
        <source>tooltip Horizon Zentrum</source>
        <translation>Mittelpunkt des Effekts.</translation>
    </message>
    <message>
        <source>tooltip Horizon Zoom</source>
        <translation>Vergrößerung, die leere Ränder nach der Verformung abschneidet.</translation>
    </message>
    <message>
        <source>tooltip HueExpose Blau</source>
        <translation>Wirkung auf die blauen Farbtöne.</translation>
    </message>
    <message>
        <source>tooltip HueExpose Cyan</source>
        <translation>Wirkung auf die cyanfarbenen Töne.</translation>
    </message>
    <message>
        <source>tooltip HueExpose Gelb</source>
        <translation>Wirkung auf die gelben Farbtöne.</translation>
    </message>
    <message>
        <source>tooltip HueExpose Grün</source>
        <translation>Wirkung auf die grünen Farbtöne.</translation>
    </message>
    <message>
        <source>tooltip HueExpose Rot</source>
        <translation>Wirkung auf die roten Farbtöne.</translation>
    </message>
    <message>
        <source>tooltip HueExpose Violett</source>
        <translation>Wirkung auf die violetten Farbtöne.</translation>
    </message>
    <message>
        <source>tooltip HueShift Blau</source>
        <translation>Wirkung auf die blauen Farbtöne.</translation>
    </message>
    <message>
        <source>tooltip HueShift Cyan</source>
        <translation>Wirkung auf die cyanfarbenen Töne.</translation>
    </message>
    <message>
        <source>tooltip HueShift Gelb</source>
        <translation>Wirkung auf die gelben Farbtöne.</translation>
    </message>
    <message>
        <source>tooltip HueShift Grün</source>
        <translation>Wirkung auf die grünen Farbtöne.</translation>
    </message>
    <message>
        <source>tooltip HueShift Rot</source>
        <translation>Wirkung auf die roten Farbtöne.</translation>
    </message>
    <message>
        <source>tooltip HueShift Violett</source>
        <translation>Wirkung auf die violetten Farbtöne.</translation>
    </message>
    <message>
        <source>tooltip ImageBloom Maskierung</source>
        <translation>Kurve, die festlegt, wie stark der Operator je nach Helligkeit des Bildpunkts wirkt.</translation>
    </message>
    <message>
        <source>tooltip ImageBloom Radius</source>
        <translation>Größe der Umgebung in Pixeln, die um jeden Bildpunkt ausgewertet wird; größere Werte wirken großflächiger.</translation>
    </message>
    <message>
        <source>tooltip ImageBloom Stärke</source>
        <translation>Stärke der Wirkung.</translation>
    </message>
    <message>
        <source>tooltip ImageBloom Temperatur</source>
        <translation>Farbtemperatur in Kelvin.</translation>
    </message>
    <message>
        <source>tooltip ImageSmooth Maskierung</source>
        <translation>Kurve, die festlegt, wie stark der Operator je nach Helligkeit des Bildpunkts wirkt.</translation>
    </message>
    <message>
        <source>tooltip ImageSmooth Radius</source>
        <translation>Größe der Umgebung in Pixeln, die um jeden Bildpunkt ausgewertet wird; größere Werte wirken großflächiger.</translation>
    </message>
    <message>
        <source>tooltip ImageSmooth Schärfe</source>
        <translation>Wie viel Schärfe und Kanten erhalten bleiben.</translation>
    </message>
    <message>
        <source>tooltip InvSinCity Farbton</source>
        <translation>Farbton, um den gedreht oder mit dem getönt wird.</translation>
    </message>
    <message>
        <source>tooltip InvSinCity Gradationskurve</source>
        <translation>Tonwertkurve: ordnet jeder Eingangshelligkeit eine neue Helligkeit zu.</translation>
    </message>
    <message>
        <source>tooltip LayerEffekt Combo</source>
        <translation>Überblendmodus und Deckkraft, mit denen das Ergebnis des Operators über das Bild gelegt wird.</translation>
    </message>
    <message>
        <source>tooltip LensCorrection Position</source>
        <translation>Lage des Effekts im Bild.</translation>
    </message>
    <message>
        <source>tooltip LensCorrection Stärke</source>
        <translation>Stärke der Wirkung.</translation>
    </message>
    <message>
        <source>tooltip LightShadow Lichter abschneiden</source>
        <translation>Helligkeit, ab der Lichter als reines Weiß gelten.</translation>
    </message>
    <message>
        <source>tooltip LightShadow Lichter anpassen</source>
        <translation>Hellt die hellen Bereiche auf oder dunkelt sie ab.</translation>
    </message>
    <message>
        <source>tooltip LightShadow Schatten abschneiden</source>
        <translation>Helligkeit, bis zu der Schatten als reines Schwarz gelten.</translation>
    </message>
    <message>
        <source>tooltip LightShadow Schatten anpassen</source>
        <translation>Hellt die dunklen Bereiche auf oder dunkelt sie ab.</translation>
    </message>
    <message>
        <source>tooltip LightTuner Lichtschärfe</source>
        <translation>Wie scharf der Übergang des Lichts begrenzt ist.</translation>
    </message>
    <message>
        <source>tooltip LightTuner Position</source>
        <translation>Lage des Effekts im Bild.</translation>
    </message>
    <message>
        <source>tooltip LightTuner Radius</source>
        <translation>Größe der Umgebung in Pixeln, die um jeden Bildpunkt ausgewertet wird; größere Werte wirken großflächiger.</translation>
    </message>
    <message>
        <source>tooltip LocalContour Maskierung</source>
        <translation>Kurve, die festlegt, wie stark der Operator je nach Helligkeit des Bildpunkts wirkt.</translation>
    </message>
    <message>
        <source>tooltip LocalContour Radius</source>
        <translation>Größe der Umgebung in Pixeln, die um jeden Bildpunkt ausgewertet wird; größere Werte wirken großflächiger.</translation>
    </message>
    <message>
        <source>tooltip LocalContour Stärke</source>
        <translation>Stärke der Wirkung.</translation>
    </message>
    <message>
        <source>tooltip LocalContrast Maskierung</source>
        <translation>Kurve, die festlegt, wie stark der Operator je nach Helligkeit des Bildpunkts wirkt.</translation>
    </message>
    <message>
        <source>tooltip LocalContrast Radius</source>
        <translation>Größe der Umgebung in Pixeln, die um jeden Bildpunkt ausgewertet wird; größere Werte wirken großflächiger.</translation>
    </message>
    <message>
        <source>tooltip LocalContrast Stärke</source>
        <translation>Stärke der Wirkung.</translation>
    </message>
    <message>
        <source>tooltip LocalWhitebalance Radius</source>
        <translation>Größe der Umgebung in Pixeln, die um jeden Bildpunkt ausgewertet wird; größere Werte wirken großflächiger.</translation>
    </message>
    <message>
        <source>tooltip LocalWhitebalance Stärke</source>
        <translation>Stärke der Wirkung.</translation>
    </message>
    <message>
        <source>tooltip Magnet Größe</source>
        <translation>Größe des wirksamen Bereichs.</translation>
    </message>
    <message>
        <source>tooltip Magnet Stärke</source>
        <translation>Stärke der Wirkung.</translation>
    </message>
    <message>
        <source>tooltip Magnet Zentrum</source>
        <translation>Mittelpunkt des Effekts.</translation>
    </message>
    <message>
        <source>tooltip Magnet Zoom</source>
        <translation>Vergrößerung, die leere Ränder nach der Verformung abschneidet.</translation>
    </message>
    <message>
        <source>tooltip Oelbild Lichtquelle</source>
        <translation>Lage der Lichtquelle.</translation>
    </message>
    <message>
        <source>tooltip Oelbild Pinsel</source>
        <translation>Größe des Pinsels.</translation>
    </message>
    <message>
        <source>tooltip Oelbild Relief</source>
        <translation>Tiefe des Reliefs.</translation>
    </message>
    <message>
        <source>tooltip Oelbild Schärfe</source>
        <translation>Wie viel Schärfe und Kanten erhalten bleiben.</translation>
    </message>
    <message>
        <source>tooltip Oilpaint Radius</source>
        <translation>Größe der Umgebung in Pixeln, die um jeden Bildpunkt ausgewertet wird; größere Werte wirken großflächiger.</translation>
    </message>
    <message>
        <source>tooltip Painting Pinsel</source>
        <translation>Größe des Pinsels.</translation>
    </message>
    <message>
        <source>tooltip Painting Schärfe</source>
        <translation>Wie viel Schärfe und Kanten erhalten bleiben.</translation>
    </message>
    <message>
        <source>tooltip PencilPaint Linienhärte</source>
        <translation>Härte der Bleistiftstriche.</translation>
    </message>
    <message>
        <source>tooltip PencilPaint Linienstärke</source>
        <translation>Breite der gezeichneten Linien.</translation>
    </message>
    <message>
        <source>tooltip PencilPaint Maskierung</source>
        <translation>Kurve, die festlegt, wie stark der Operator je nach Helligkeit des Bildpunkts wirkt.</translation>
    </message>
    <message>
        <source>tooltip Plastics Details</source>
        <translation>Größe der Details, die die Folie nachzeichnet.</translation>
    </message>
    <message>
        <source>tooltip Plastics Position</source>
        <translation>Lage des Effekts im Bild.</translation>
    </message>
    <message>
        <source>tooltip Plastics Transparenz</source>
        <translation>Wie durchscheinend der Effekt ist.</translation>
    </message>
    <message>
        <source>tooltip Popart Abstufungen</source>
        <translation>Anzahl der Tonwertstufen.</translation>
    </message>
    <message>
        <source>tooltip Popart Anzahl</source>
        <translation>Anzahl der Bildkacheln.</translation>
    </message>
    <message>
        <source>tooltip Popart Farbabstand</source>
        <translation>Abstand der Farbtöne zwischen den Kacheln.</translation>
    </message>
    <message>
        <source>tooltip Popart Farbton</source>
        <translation>Farbton, um den gedreht oder mit dem getönt wird.</translation>
    </message>
    <message>
        <source>tooltip Popart Sättigung</source>
        <translation>Erhöht oder verringert die Farbsättigung.</translation>
    </message>
    <message>
        <source>tooltip Posterize Abstufungen</source>
        <translation>Anzahl der Tonwertstufen.</translation>
    </message>
    <message>
        <source>tooltip Psycho Farbabstand</source>
        <translation>Abstand der Farbtöne zwischen den Kacheln.</translation>
    </message>
    <message>
        <source>tooltip Psycho Farbton</source>
        <translation>Farbton, um den gedreht oder mit dem getönt wird.</translation>
    </message>
    <message>
        <source>tooltip Psycho Maskierung</source>
        <translation>Kurve, die festlegt, wie stark der Operator je nach Helligkeit des Bildpunkts wirkt.</translation>
    </message>
    <message>
        <source>tooltip Psycho Sättigung</source>
        <translation>Erhöht oder verringert die Farbsättigung.</translation>
    </message>
    <message>
        <source>tooltip RadialBlur Länge</source>
        <translation>Länge der Verwischung.</translation>
    </message>
    <message>
        <source>tooltip RadialBlur Winkel</source>
        <translation>Drehwinkel in Grad.</translation>
    </message>
    <message>
        <source>tooltip RemoveArtifacts Dither</source>
        <translation>Feines Rauschen gegen Stufenbildung in Verläufen.</translation>
    </message>
    <message>
        <source>tooltip RemoveArtifacts Korrektur</source>
        <translation>Stärke der Korrektur.</translation>
    </message>
    <message>
        <source>tooltip RemoveArtifacts Streuung</source>
        <translation>Größe des Bereichs, über den Störungen verteilt werden.</translation>
    </message>
    <message>
        <source>tooltip Rotate Twist</source>
        <translation>Verdrehung zur Mitte hin.</translation>
    </message>
    <message>
        <source>tooltip Rotate Winkel</source>
        <translation>Drehwinkel in Grad.</translation>
    </message>
    <message>
        <source>tooltip Rotate Zentrum</source>
        <translation>Mittelpunkt des Effekts.</translation>
    </message>
    <message>
        <source>tooltip Rotate Zoom</source>
        <translation>Vergrößerung, die leere Ränder nach der Verformung abschneidet.</translation>
    </message>
    <message>
        <source>tooltip Sepia Farbton</source>
        <translation>Farbton, um den gedreht oder mit dem getönt wird.</translation>
    </message>
    <message>
        <source>tooltip Sepia Maskierung</source>
        <translation>Kurve, die festlegt, wie stark der Operator je nach Helligkeit des Bildpunkts wirkt.</translation>
    </message>
    <message>
        <source>tooltip Sharpen Maskierung</source>
        <translation>Kurve, die festlegt, wie stark der Operator je nach Helligkeit des Bildpunkts wirkt.</translation>
    </message>
    <message>
        <source>tooltip Sharpen Stärke</source>
        <translation>Stärke der Wirkung.</translation>
    </message>
    <message>
        <source>tooltip SinCity Farbton</source>
        <translation>Farbton, um den gedreht oder mit dem getönt wird.</translation>
    </message>
    <message>
        <source>tooltip SinCity Gradationskurve</source>
        <translation>Tonwertkurve: ordnet jeder Eingangshelligkeit eine neue Helligkeit zu.</translation>
    </message>
    <message>
        <source>tooltip SkySmooth Himmelfarbe</source>
        <translation>Farbe des Himmels, der geglättet wird.</translation>
    </message>
    <message>
        <source>tooltip SkySmooth Radius</source>
        <translation>Größe der Umgebung in Pixeln, die um jeden Bildpunkt ausgewertet wird; größere Werte wirken großflächiger.</translation>
    </message>
    <message>
        <source>tooltip SkySmooth Schärfe</source>
        <translation>Wie viel Schärfe und Kanten erhalten bleiben.</translation>
    </message>
    <message>
        <source>tooltip SoftContrast Glättung</source>
        <translation>Wie weich das Ergebnis geglättet wird.</translation>
    </message>
    <message>
        <source>tooltip SoftContrast Maskierung</source>
        <translation>Kurve, die festlegt, wie stark der Operator je nach Helligkeit des Bildpunkts wirkt.</translation>
    </message>
    <message>
        <source>tooltip SoftContrast Stärke</source>
        <translation>Stärke der Wirkung.</translation>
    </message>
    <message>
        <source>tooltip StructureCloth Feinheit</source>
        <translation>Maßstab der Struktur.</translation>
    </message>
    <message>
        <source>tooltip StructureCloth Prägung</source>
        <translation>Wie plastisch die Struktur im Bild erscheint.</translation>
    </message>
    <message>
        <source>tooltip StructureCloth Typ</source>
        <translation>Auswahl der Struktur; ein Klick öffnet die Übersicht der Strukturen.</translation>
    </message>
    <message>
        <source>tooltip StructureCloth Unschärfe</source>
        <translation>Weichzeichnung der Struktur.</translation>
    </message>
    <message>
        <source>tooltip StructureCrack Feinheit</source>
        <translation>Maßstab der Struktur.</translation>
    </message>
    <message>
        <source>tooltip StructureCrack Prägung</source>
        <translation>Wie plastisch die Struktur im Bild erscheint.</translation>
    </message>
    <message>
        <source>tooltip StructureCrack Typ</source>
        <translation>Auswahl der Struktur; ein Klick öffnet die Übersicht der Strukturen.</translation>
    </message>
    <message>
        <source>tooltip StructureCrack Unschärfe</source>
        <translation>Weichzeichnung der Struktur.</translation>
    </message>
    <message>
        <source>tooltip StructureMetal Feinheit</source>
        <translation>Maßstab der Struktur.</translation>
    </message>
    <message>
        <source>tooltip StructureMetal Lichtquelle</source>
        <translation>Lage der Lichtquelle.</translation>
    </message>
    <message>
        <source>tooltip StructureMetal Prägung</source>
        <translation>Wie plastisch die Struktur im Bild erscheint.</translation>
    </message>
    <message>
        <source>tooltip StructureMetal Typ</source>
        <translation>Auswahl der Struktur; ein Klick öffnet die Übersicht der Strukturen.</translation>
    </message>
    <message>
        <source>tooltip StructureMetal Unschärfe</source>
        <translation>Weichzeichnung der Struktur.</translation>
    </message>
    <message>
        <source>tooltip StructurePaper Farbton</source>
        <translation>Farbton, um den gedreht oder mit dem getönt wird.</translation>
    </message>
    <message>
        <source>tooltip StructurePaper Feinheit</source>
        <translation>Maßstab der Struktur.</translation>
    </message>
    <message>
        <source>tooltip StructurePaper Prägung</source>
        <translation>Wie plastisch die Struktur im Bild erscheint.</translation>
    </message>
    <message>
        <source>tooltip StructurePaper Typ</source>
        <translation>Auswahl der Struktur; ein Klick öffnet die Übersicht der Strukturen.</translation>
    </message>
    <message>
        <source>tooltip StructurePuzzle Feinheit</source>
        <translation>Maßstab der Struktur.</translation>
    </message>
    <message>
        <source>tooltip StructurePuzzle Lichtquelle</source>
        <translation>Lage der Lichtquelle.</translation>
    </message>
    <message>
        <source>tooltip StructurePuzzle Prägung</source>
        <translation>Wie plastisch die Struktur im Bild erscheint.</translation>
    </message>
    <message>
        <source>tooltip StructurePuzzle Typ</source>
        <translation>Auswahl der Struktur; ein Klick öffnet die Übersicht der Strukturen.</translation>
    </message>
    <message>
        <source>tooltip TM Intensität</source>
        <translation>Stärke der Wirkung.</translation>
    </message>
    <message>
        <source>tooltip TM Lichtkompression</source>
        <translation>Wie stark helle Bereiche zusammengedrückt werden, damit Lichter Zeichnung behalten.</translation>
    </message>
    <message>
        <source>tooltip TM Makrodetail</source>
        <translation>Betont große Strukturen und Flächenkontraste.</translation>
    </message>
    <message>
        <source>tooltip TM Maskierung</source>
        <translation>Kurve, die festlegt, wie stark der Operator je nach Helligkeit des Bildpunkts wirkt.</translation>
    </message>
    <message>
        <source>tooltip TM Mikrodetail</source>
        <translation>Betont feine Strukturen und Texturen.</translation>
    </message>
    <message>
        <source>tooltip TM Radius</source>
        <translation>Größe der Umgebung in Pixeln, die um jeden Bildpunkt ausgewertet wird; größere Werte wirken großflächiger.</translation>
    </message>
    <message>
        <source>tooltip TiltColor Breite</source>
        <translation>Breite des Übergangs.</translation>
    </message>
    <message>
        <source>tooltip TiltColor Farbton</source>
        <translation>Farbton, um den gedreht oder mit dem getönt wird.</translation>
    </message>
    <message>
        <source>tooltip TiltColor Intensität</source>
        <translation>Stärke der Wirkung.</translation>
    </message>
    <message>
        <source>tooltip TiltColor Position</source>
        <translation>Lage des Effekts im Bild.</translation>
    </message>
    <message>
        <source>tooltip TiltShift Breite</source>
        <translation>Breite des Übergangs.</translation>
    </message>
    <message>
        <source>tooltip TiltShift Farbe</source>
        <translation>Farbe des Effekts.</translation>
    </message>
    <message>
        <source>tooltip TiltShift Radius</source>
        <translation>Größe der Umgebung in Pixeln, die um jeden Bildpunkt ausgewertet wird; größere Werte wirken großflächiger.</translation>
    </message>
    <message>
        <source>tooltip TiltShift Schärfegrenze</source>
        <translation>Linie, entlang der das Bild scharf bleibt.</translation>
    </message>
    <message>
        <source>tooltip Twirl Größe</source>
        <translation>Größe des wirksamen Bereichs.</translation>
    </message>
    <message>
        <source>tooltip Twirl Twist</source>
        <translation>Verdrehung zur Mitte hin.</translation>
    </message>
    <message>
        <source>tooltip Twirl Zentrum</source>
        <translation>Mittelpunkt des Effekts.</translation>
    </message>
    <message>
        <source>tooltip Twirl Zoom</source>
        <translation>Vergrößerung, die leere Ränder nach der Verformung abschneidet.</translation>
    </message>
    <message>
        <source>tooltip VeilingGlare Maskierung</source>
        <translation>Kurve, die festlegt, wie stark der Operator je nach Helligkeit des Bildpunkts wirkt.</translation>
    </message>
    <message>
        <source>tooltip VeilingGlare Radius</source>
        <translation>Größe der Umgebung in Pixeln, die um jeden Bildpunkt ausgewertet wird; größere Werte wirken großflächiger.</translation>
    </message>
    <message>
        <source>tooltip VeilingGlare Stärke</source>
        <translation>Stärke der Wirkung.</translation>
    </message>
    <message>
        <source>tooltip Vignette Farbton</source>
        <translation>Farbton, um den gedreht oder mit dem getönt wird.</translation>
    </message>
    <message>
        <source>tooltip Vignette Intensität</source>
        <translation>Stärke der Wirkung.</translation>
    </message>
    <message>
        <source>tooltip Vignette Position</source>
        <translation>Lage des Effekts im Bild.</translation>
    </message>
    <message>
        <source>tooltip Vignette Schärfe</source>
        <translation>Wie viel Schärfe und Kanten erhalten bleiben.</translation>
    </message>
    <message>
        <source>tooltip Vignette Seitenverhältnis</source>
        <translation>Verhältnis von Breite zu Höhe der Form.</translation>
    </message>
    <message>
        <source>tooltip Warp Leuchten</source>
        <translation>Wie stark helle Bereiche nachleuchten.</translation>
    </message>
    <message>
        <source>tooltip Warp Länge</source>
        <translation>Länge der Verwischung.</translation>
    </message>
    <message>
        <source>tooltip Warp Maskierung</source>
        <translation>Kurve, die festlegt, wie stark der Operator je nach Helligkeit des Bildpunkts wirkt.</translation>
    </message>
    <message>
        <source>tooltip Warp Zentrum</source>
        <translation>Mittelpunkt des Effekts.</translation>
    </message>
    <message>
        <source>tooltip WaxPaint Position</source>
        <translation>Lage des Effekts im Bild.</translation>
    </message>
    <message>
        <source>tooltip WaxPaint Radius</source>
        <translation>Größe der Umgebung in Pixeln, die um jeden Bildpunkt ausgewertet wird; größere Werte wirken großflächiger.</translation>
    </message>
    <message>
        <source>tooltip WaxPaint Schärfe</source>
        <translation>Wie viel Schärfe und Kanten erhalten bleiben.</translation>
    </message>
    <message>
        <source>tooltip Whitebalance Farbe</source>
        <translation>Farbe des Effekts.</translation>
    </message>
    <message>
        <source>tooltip manualbwpoint Schwarzpunkt</source>
        <translation>Helligkeit, die zu reinem Schwarz wird.</translation>
    </message>
    <message>
        <source>tooltip manualbwpoint Weißpunkt</source>
        <translation>Helligkeit, die zu reinem Weiß wird.</translation>
    </message>
    <message>
        <source>tooltip percentbwpoint Lichter</source>
        <translation>Lage der Lichter in der Tonwertverteilung.</translation>
    </message>
    <message>
        <source>tooltip percentbwpoint Mitteltöne</source>
        <translation>Lage der Mitteltöne in der Tonwertverteilung.</translation>
    </message>
    <message>
        <source>tooltip percentbwpoint Schatten</source>
        <translation>Lage der Schatten in der Tonwertverteilung.</translation>
    </message>
    <message>
        <source>Color Contrast</source>
        <translation>Farbkontrast</translation>
    </message>
    <message>
        <source>Local Contour</source>
        <translation>Lokale Kontur</translation>
    </message>
    <message>
        <source>Local Contrast</source>
        <translation>Lokaler Kontrast</translation>
    </message>
    <message>
        <source>Posterize</source>
        <translation>Tontrennung</translation>
    </message>
    <message>
        <source>Psychedelic</source>
        <translation>Psychedelisch</translation>
    </message>
    <message>
        <source>Solarize</source>
        <translation>Solarisation</translation>
    </message>
    <message>
        <source>Tilt Shift</source>
        <translation>Tilt-Shift</translation>
    </message>
    <message>
        <source>Twist</source>
        <translation>Verdrehung</translation>
    </message>
    <message>
        <source>Veiling Glare</source>
        <translation>Schleierblendung</translation>
    </message>
    <message>
        <source>Warp</source>
        <translation>Verkrümmen</translation>
    </message>
    <message>
        <source>Dither</source>
        <translation>Dithering</translation>
    </message>
</context>
<context>
    <name>PPPresetCategory</name>
    <message>
        <source>architecture</source>
        <translation>Architektur</translation>
    </message>
    <message>
        <source>artistic</source>
        <translation>Künstlerisch</translation>
    </message>
    <message>
        <source>landscape</source>
        <translation>Landschaft</translation>
    </message>
    <message>
        <source>natural</source>
        <translation>Natürlich</translation>
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
        <translation>Benutzer</translation>
    </message>
</context>
<context>
    <name>PPPreset</name>
    <message>
        <source>Bleach Bypass</source>
        <translation>Bleach Bypass</translation>
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
        <translation>Detail</translation>
    </message>
    <message>
        <source>Farbe</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>Schwarzweiß</source>
        <translation>Schwarzweiß</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>dramatisch</source>
        <translation>dramatisch</translation>
    </message>
    <message>
        <source>dunkel</source>
        <translation>dunkel</translation>
    </message>
    <message>
        <source>klar</source>
        <translation>klar</translation>
    </message>
    <message>
        <source>kräftig</source>
        <translation>kräftig</translation>
    </message>
    <message>
        <source>sanft</source>
        <translation>sanft</translation>
    </message>
    <message>
        <source>warm</source>
        <translation>warm</translation>
    </message>
    <message>
        <source>weich</source>
        <translation>weich</translation>
    </message>
</context>
<context>
    <name>HDROperators.xml</name>
    <message>
        <source>Durchschnitt</source>
        <translation>Durchschnitt</translation>
    </message>
    <message>
        <source>Entrauschung</source>
        <translation>Entrauschung</translation>
    </message>
    <message>
        <source>Entropie</source>
        <translation>Entropie</translation>
    </message>
    <message>
        <source>Farbmix</source>
        <translation>Farbmix</translation>
    </message>
    <message>
        <source>Farbsättigung</source>
        <translation>Farbsättigung</translation>
    </message>
    <message>
        <source>Glättung</source>
        <translation>Glättung</translation>
    </message>
    <message>
        <source>Halo-Anpassung</source>
        <translation>Halo-Anpassung</translation>
    </message>
    <message>
        <source>Luminanz Distanz</source>
        <translation>Luminanz Distanz</translation>
    </message>
    <message>
        <source>Luminanz Entropie</source>
        <translation>Luminanz Entropie</translation>
    </message>
    <message>
        <source>Luminanz RGB</source>
        <translation>Luminanz RGB</translation>
    </message>
    <message>
        <source>Nacht</source>
        <translation>Nacht</translation>
    </message>
    <message>
        <source>Nacht-Tag</source>
        <translation>Nacht-Tag</translation>
    </message>
    <message>
        <source>Radius</source>
        <translation>Radius</translation>
    </message>
    <message>
        <source>Tag</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>absolute Distanz</source>
        <translation>absolute Distanz</translation>
    </message>
    <message>
        <source>gering</source>
        <translation>gering</translation>
    </message>
    <message>
        <source>hart</source>
        <translation>hart</translation>
    </message>
    <message>
        <source>hoch</source>
        <translation>hoch</translation>
    </message>
    <message>
        <source>lineare Luminanz</source>
        <translation>lineare Luminanz</translation>
    </message>
    <message>
        <source>logarithmische Luminanz</source>
        <translation>logarithmische Luminanz</translation>
    </message>
    <message>
        <source>niedrig</source>
        <translation>niedrig</translation>
    </message>
    <message>
        <source>quadrische Luminanz</source>
        <translation>quadrische Luminanz</translation>
    </message>
    <message>
        <source>scharf</source>
        <translation>scharf</translation>
    </message>
    <message>
        <source>tooltip Entrauschung</source>
        <translation>Glättet das Rauschen dunkler Belichtungen</translation>
    </message>
    <message>
        <source>tooltip Glättung</source>
        <translation>Weichere Übergänge zwischen den Belichtungen</translation>
    </message>
    <message>
        <source>tooltip Halo Anpassung</source>
        <translation>Unterdrückt helle und dunkle Säume an Kanten</translation>
    </message>
    <message>
        <source>tooltip MP_calcPixelFastHDRabsdist</source>
        <translation>Gewichtet nach dem absoluten Abstand zur Bildmitte</translation>
    </message>
    <message>
        <source>tooltip MP_calcPixelFastHDRdistance</source>
        <translation>Gewichtet nach dem Abstand der Luminanz zur Bildmitte</translation>
    </message>
    <message>
        <source>tooltip MP_calcPixelFastHDRentropy</source>
        <translation>Gewichtet jede Belichtung nach ihrem Informationsgehalt</translation>
    </message>
    <message>
        <source>tooltip MP_calcPixelFastHDRrgrbgb</source>
        <translation>Gewichtet die Farbkanäle einzeln</translation>
    </message>
    <message>
        <source>tooltip MP_calcPixelHDRaverage</source>
        <translation>Mittelt alle Belichtungen gleich gewichtet</translation>
    </message>
    <message>
        <source>tooltip MP_calcPixelHDRlinear</source>
        <translation>Gewichtet linear nach der Luminanz</translation>
    </message>
    <message>
        <source>tooltip MP_calcPixelHDRloglinear</source>
        <translation>Gewichtet logarithmisch nach der Luminanz</translation>
    </message>
    <message>
        <source>tooltip MP_calcPixelHDRlumentropy</source>
        <translation>Gewichtet nach der Entropie der Luminanz</translation>
    </message>
    <message>
        <source>tooltip MP_calcPixelHDRlumrgb</source>
        <translation>Gewichtet nach Luminanz und Farbe</translation>
    </message>
    <message>
        <source>tooltip MP_calcPixelHDRquadriclinear</source>
        <translation>Gewichtet quadratisch nach der Luminanz</translation>
    </message>
    <message>
        <source>tooltip MP_calcPixelHDRsatlig</source>
        <translation>Gewichtet nach Farbsättigung und Helligkeit</translation>
    </message>
    <message>
        <source>tooltip Nacht-Tag</source>
        <translation>Verschiebt die Gewichtung zu dunkleren oder helleren Belichtungen</translation>
    </message>
    <message>
        <source>tooltip Radius</source>
        <translation>Radius der Umgebung, aus der gewichtet wird</translation>
    </message>
    <message>
        <source>weich</source>
        <translation>weich</translation>
    </message>
</context>
</TS>
