<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB">
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
    <name>CExposure</name>
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
        <source>Datei ist kein Bild</source>
        <translation>The file is not an image</translation>
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
&lt;p&gt;&lt;a href=&quot;CODE_HOMEPAGEURL&quot;&gt;Lumivex on the web&lt;/a&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>HomepageURL LUMIVEX PRO</source>
        <translation>https://lumivex.invalid/</translation>
    </message>
    <message>
        <source>UpdatepageURL LUMIVEX PRO</source>
        <translation>https://lumivex.invalid/update</translation>
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
    <name>HDRSlider</name>
    <message>
        <source>%</source>
        <translation>%</translation>
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
    <name>IExposure</name>
    <message>
        <source>Es steht nicht genügend Arbeitsspeicher zur Verfügung.</source>
        <translation>There is not enough memory available.</translation>
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
</context>
<context>
    <name>SplashScreen</name>
    <message>
        <source>Initialisiere System</source>
        <translation>Initialising system</translation>
    </message>
</context>
</TS>
