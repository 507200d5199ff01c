<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AtomicFile</name>
    <message>
        <source>no free temporary name</source>
        <translation>no free temporary name</translation>
    </message>
    <message>
        <source>no free file name in %1</source>
        <translation>no free file name in %1</translation>
    </message>
</context>
<context>
    <name>BdfFont</name>
    <message>
        <source>not a regular file</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>the file is larger than %1 MB</source>
        <translation>the file is larger than %1 MB</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>line %1: %2</translation>
    </message>
    <message>
        <source>the file ends after line %1, before %2</source>
        <translation>the file ends after line %1, before %2</translation>
    </message>
    <message>
        <source>%1 needs a width and a height of 0 to %2 and two offsets of -%3 to %3</source>
        <translation>%1 needs a width and a height of 0 to %2 and two offsets of -%3 to %3</translation>
    </message>
    <message>
        <source>not a BDF font (no STARTFONT)</source>
        <translation>not a BDF font (no STARTFONT)</translation>
    </message>
    <message>
        <source>STARTPROPERTIES needs a count</source>
        <translation>STARTPROPERTIES needs a count</translation>
    </message>
    <message>
        <source>STARTPROPERTIES says %1 properties, the file holds %2</source>
        <translation>STARTPROPERTIES says %1 properties, the file holds %2</translation>
    </message>
    <message>
        <source>CHARS needs a count</source>
        <translation>CHARS needs a count</translation>
    </message>
    <message>
        <source>%1 glyphs are more than the %2 read</source>
        <translation>%1 glyphs are more than the %2 read</translation>
    </message>
    <message>
        <source>no FONTBOUNDINGBOX before CHARS</source>
        <translation>no FONTBOUNDINGBOX before CHARS</translation>
    </message>
    <message>
        <source>no CHARS before %1</source>
        <translation>no CHARS before %1</translation>
    </message>
    <message>
        <source>STARTCHAR or ENDFONT expected</source>
        <translation>STARTCHAR or ENDFONT expected</translation>
    </message>
    <message>
        <source>CHARS says %1 glyphs, the file holds more</source>
        <translation>CHARS says %1 glyphs, the file holds more</translation>
    </message>
    <message>
        <source>BITMAP expected</source>
        <translation>BITMAP expected</translation>
    </message>
    <message>
        <source>ENCODING needs a number</source>
        <translation>ENCODING needs a number</translation>
    </message>
    <message>
        <source>a glyph without ENCODING</source>
        <translation>a glyph without ENCODING</translation>
    </message>
    <message>
        <source>a glyph without BBX</source>
        <translation>a glyph without BBX</translation>
    </message>
    <message>
        <source>BBX says %1 rows, BITMAP holds %2</source>
        <translation>BBX says %1 rows, BITMAP holds %2</translation>
    </message>
    <message>
        <source>a BITMAP row narrower than its BBX</source>
        <translation>a BITMAP row narrower than its BBX</translation>
    </message>
    <message>
        <source>a BITMAP row that is not hexadecimal</source>
        <translation>a BITMAP row that is not hexadecimal</translation>
    </message>
    <message>
        <source>BBX says %1 rows, BITMAP holds more</source>
        <translation>BBX says %1 rows, BITMAP holds more</translation>
    </message>
    <message>
        <source>CHARS says %1 glyphs, the file holds %2</source>
        <translation>CHARS says %1 glyphs, the file holds %2</translation>
    </message>
</context>
<context>
    <name>BmpReader</name>
    <message>
        <source>truncated BMP file: the image needs %1 bytes, the file holds %2</source>
        <translation>truncated BMP file: the image needs %1 bytes, the file holds %2</translation>
    </message>
    <message>
        <source>not a BMP file (it does not start with &quot;BM&quot;)</source>
        <translation>not a BMP file (it does not start with &quot;BM&quot;)</translation>
    </message>
    <message>
        <source>truncated BMP file: the header is incomplete</source>
        <translation>truncated BMP file: the header is incomplete</translation>
    </message>
    <message>
        <source>unsupported BMP header of %1 bytes</source>
        <translation>unsupported BMP header of %1 bytes</translation>
    </message>
    <message>
        <source>invalid BMP header: %1 colour planes</source>
        <translation>invalid BMP header: %1 colour planes</translation>
    </message>
    <message>
        <source>unsupported BMP depth of %1 bits per pixel</source>
        <translation>unsupported BMP depth of %1 bits per pixel</translation>
    </message>
    <message>
        <source>run-length compressed BMP files are not supported</source>
        <translation>run-length compressed BMP files are not supported</translation>
    </message>
    <message>
        <source>invalid BMP header: bit fields at %1 bits per pixel</source>
        <translation>invalid BMP header: bit fields at %1 bits per pixel</translation>
    </message>
    <message>
        <source>unsupported BMP compression %1</source>
        <translation>unsupported BMP compression %1</translation>
    </message>
    <message>
        <source>invalid BMP size: the width is %1</source>
        <translation>invalid BMP size: the width is %1</translation>
    </message>
    <message>
        <source>invalid BMP size: the height is 0</source>
        <translation>invalid BMP size: the height is 0</translation>
    </message>
    <message>
        <source>BMP image too large: %1 x %2 pixels (at most %3 x %3)</source>
        <translation>BMP image too large: %1 x %2 pixels (at most %3 x %3)</translation>
    </message>
    <message>
        <source>invalid BMP header: a top-down compressed image</source>
        <translation>invalid BMP header: a top-down compressed image</translation>
    </message>
    <message>
        <source>BMP image too large: %1 bytes of pixel data</source>
        <translation>BMP image too large: %1 bytes of pixel data</translation>
    </message>
    <message>
        <source>truncated BMP file: the colour masks are incomplete</source>
        <translation>truncated BMP file: the colour masks are incomplete</translation>
    </message>
    <message>
        <source>invalid BMP header: the pixel data starts at byte %1, inside the header</source>
        <translation>invalid BMP header: the pixel data starts at byte %1, inside the header</translation>
    </message>
    <message>
        <source>cannot open the file: %1</source>
        <translation>cannot open the file: %1</translation>
    </message>
    <message>
        <source>cannot read the file: %1</source>
        <translation>cannot read the file: %1</translation>
    </message>
</context>
<context>
    <name>DBusAutomationHost</name>
    <message>
        <source>unknown ProgID %1</source>
        <translation>unknown ProgID %1</translation>
    </message>
    <message>
        <source>%1 is not running</source>
        <translation>%1 is not running</translation>
    </message>
    <message>
        <source>%1 ended right after its start</source>
        <translation>%1 ended right after its start</translation>
    </message>
    <message>
        <source>no D-Bus session: %1</source>
        <translation>no D-Bus session: %1</translation>
    </message>
    <message>
        <source>unexpected activation answer %1</source>
        <translation>unexpected activation answer %1</translation>
    </message>
    <message>
        <source>%1 is not activatable and the program&apos;s folder has no name</source>
        <translation>%1 is not activatable and the program&apos;s folder has no name</translation>
    </message>
    <message>
        <source>%1 is not activatable and %2 is not there</source>
        <translation>%1 is not activatable and %2 is not there</translation>
    </message>
    <message>
        <source>cannot run %1</source>
        <translation>cannot run %1</translation>
    </message>
    <message>
        <source>%1 ended without taking %2</source>
        <translation>%1 ended without taking %2</translation>
    </message>
    <message>
        <source>%1 did not take %2 within %3 ms</source>
        <translation>%1 did not take %2 within %3 ms</translation>
    </message>
</context>
<context>
    <name>DBusAutomationObject</name>
    <message>
        <source>argument %1 of %2 has type %3, which has no D-Bus type here</source>
        <translation>argument %1 of %2 has type %3, which has no D-Bus type here</translation>
    </message>
    <message>
        <source>cannot send %1</source>
        <translation>cannot send %1</translation>
    </message>
    <message>
        <source>no reply</source>
        <translation>no reply</translation>
    </message>
    <message>
        <source>%1 answered %2 values</source>
        <translation>%1 answered %2 values</translation>
    </message>
    <message>
        <source>%1 answered a value of signature %2, which is not understood</source>
        <translation>%1 answered a value of signature %2, which is not understood</translation>
    </message>
</context>
<context>
    <name>DialogAutoScanning</name>
    <message>
        <source>Auto Scanning</source>
        <translation>Auto Scanning</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>DialogScanAll</name>
    <message>
        <source>Character Range</source>
        <translation>Character Range</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>16進 %1</source>
        <translation>hex %1</translation>
    </message>
    <message>
        <source>範囲に入る文字コード（16進）</source>
        <translation>The code in hexadecimal, as the run takes it</translation>
    </message>
</context>
<context>
    <name>DocumentObject</name>
    <message>
        <source>Untitled</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>%1 is the file of another open font, %2 (%3); close that one first</source>
        <translation>%1 is the file of another open font, %2 (%3); close that one first</translation>
    </message>
    <message>
        <source>ImportBmpfile needs a file name</source>
        <translation>ImportBmpfile needs a file name</translation>
    </message>
    <message>
        <source>ImportBmpfile needs an absolute file name, not %1</source>
        <translation>ImportBmpfile needs an absolute file name, not %1</translation>
    </message>
    <message>
        <source>cannot import %1: %2</source>
        <translation>cannot import %1: %2</translation>
    </message>
    <message>
        <source>cannot set side bearings %1 and %2: %3</source>
        <translation>cannot set side bearings %1 and %2: %3</translation>
    </message>
    <message>
        <source>cannot save the font: %1</source>
        <translation>cannot save the font: %1</translation>
    </message>
    <message>
        <source>SaveAs needs a file name</source>
        <translation>SaveAs needs a file name</translation>
    </message>
    <message>
        <source>SaveAs needs an absolute file name, not %1</source>
        <translation>SaveAs needs an absolute file name, not %1</translation>
    </message>
    <message>
        <source>cannot save the font as %1: %2</source>
        <translation>cannot save the font as %1: %2</translation>
    </message>
    <message>
        <source>a dot grid has %1 to %2 dots each way, not %3 x %4</source>
        <translation>a dot grid has %1 to %2 dots each way, not %3 x %4</translation>
    </message>
</context>
<context>
    <name>DotsBitmap</name>
    <message>
        <source>The canvas is empty.</source>
        <translation>The canvas is empty.</translation>
    </message>
    <message>
        <source>The canvas of %1 x %2 pixels is larger than a glyph bitmap can be.</source>
        <translation>The canvas of %1 x %2 pixels is larger than a glyph bitmap can be.</translation>
    </message>
    <message>
        <source>Cannot open %1 for writing: %2</source>
        <translation>Cannot open %1 for writing: %2</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
</context>
<context>
    <name>FontDocument</name>
    <message>
        <source>the font cannot hold the code 0x%1</source>
        <translation>the font cannot hold the code 0x%1</translation>
    </message>
    <message>
        <source>code 0x%1: %2</source>
        <translation>code 0x%1: %2</translation>
    </message>
    <message>
        <source>cannot build the font: %1</source>
        <translation>cannot build the font: %1</translation>
    </message>
    <message>
        <source>cannot create the documents folder %1</source>
        <translation>cannot create the documents folder %1</translation>
    </message>
    <message>
        <source>cannot save in %1: %2</source>
        <translation>cannot save in %1: %2</translation>
    </message>
    <message>
        <source>no file name given</source>
        <translation>no file name given</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>cannot write %1: %2</translation>
    </message>
    <message>
        <source>cannot open %1: %2</source>
        <translation>cannot open %1: %2</translation>
    </message>
    <message>
        <source>%1: the file is too large for a font (%2 bytes, at most %3)</source>
        <translation>%1: the file is too large for a font (%2 bytes, at most %3)</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>cannot read %1: %2</translation>
    </message>
</context>
<context>
    <name>FontPropertiesDialog</name>
    <message>
        <source>Font properties</source>
        <translation>Font properties</translation>
    </message>
    <message>
        <source>Copyright (c) year, your name</source>
        <translation>Copyright (c) year, your name</translation>
    </message>
    <message>
        <source>&amp;Family:</source>
        <translation>&amp;Family:</translation>
    </message>
    <message>
        <source>&amp;Style:</source>
        <translation>&amp;Style:</translation>
    </message>
    <message>
        <source>&amp;Version:</source>
        <translation>&amp;Version:</translation>
    </message>
    <message>
        <source>&amp;Copyright:</source>
        <translation>&amp;Copyright:</translation>
    </message>
    <message>
        <source>Fonts are installed and chosen by their family name: give each font a family of its own.  Regular, Bold, Italic and Bold Italic are the styles every application knows.</source>
        <translation>Fonts are installed and chosen by their family name: give each font a family of its own.  Regular, Bold, Italic and Bold Italic are the styles every application knows.</translation>
    </message>
</context>
<context>
    <name>FontReader</name>
    <message>
        <source>the gzip data cannot be unpacked</source>
        <translation>the gzip data cannot be unpacked</translation>
    </message>
    <message>
        <source>the file unpacks to more than %1 MB</source>
        <translation>the file unpacks to more than %1 MB</translation>
    </message>
    <message>
        <source>the gzip data ends early</source>
        <translation>the gzip data ends early</translation>
    </message>
    <message>
        <source>the gzip data is damaged (%1)</source>
        <translation>the gzip data is damaged (%1)</translation>
    </message>
    <message>
        <source>the font needs more than %1 of memory</source>
        <translation>the font needs more than %1 of memory</translation>
    </message>
    <message>
        <source>a glyph larger than %1 dots</source>
        <translation>a glyph larger than %1 dots</translation>
    </message>
    <message>
        <source>the file is larger than %1 MB</source>
        <translation>the file is larger than %1 MB</translation>
    </message>
    <message>
        <source>a pixel size of %1 is not within 1 to %2</source>
        <translation>a pixel size of %1 is not within 1 to %2</translation>
    </message>
    <message>
        <source>not a font that FreeType reads (%1)</source>
        <translation>not a font that FreeType reads (%1)</translation>
    </message>
    <message>
        <source>%1 glyphs are more than the %2 read</source>
        <translation>%1 glyphs are more than the %2 read</translation>
    </message>
    <message>
        <source>the font&apos;s registry %1-%2 is none of those read (ISO8859-1, ISO10646-1, JISX0201.1976-0, JISX0208.1983-0, JISX0208.1990-0)</source>
        <translation>the font&apos;s registry %1-%2 is none of those read (ISO8859-1, ISO10646-1, JISX0201.1976-0, JISX0208.1983-0, JISX0208.1990-0)</translation>
    </message>
    <message>
        <source>the font has no Unicode or Shift_JIS character map</source>
        <translation>the font has no Unicode or Shift_JIS character map</translation>
    </message>
    <message>
        <source>the font has bitmaps of %1 pixels only</source>
        <translation>the font has bitmaps of %1 pixels only</translation>
    </message>
    <message>
        <source>no font is open</source>
        <translation>no font is open</translation>
    </message>
    <message>
        <source>code point %1: %2</source>
        <translation>code point %1: %2</translation>
    </message>
</context>
<context>
    <name>FontServer</name>
    <message>
        <source>cannot connect to the D-Bus session bus: %1</source>
        <translation>cannot connect to the D-Bus session bus: %1</translation>
    </message>
    <message>
        <source>cannot register the object %1 on the session bus</source>
        <translation>cannot register the object %1 on the session bus</translation>
    </message>
    <message>
        <source>the session bus offers no bus interface</source>
        <translation>the session bus offers no bus interface</translation>
    </message>
    <message>
        <source>cannot claim the name %1: %2</source>
        <translation>cannot claim the name %1: %2</translation>
    </message>
    <message>
        <source>another server already owns the name %1 on this session bus</source>
        <translation>another server already owns the name %1 on this session bus</translation>
    </message>
    <message>
        <source>cannot register the document object %1 on the session bus</source>
        <translation>cannot register the document object %1 on the session bus</translation>
    </message>
    <message>
        <source>no file name given</source>
        <translation>no file name given</translation>
    </message>
    <message>
        <source>cannot open %1: %2</source>
        <translation>cannot open %1: %2</translation>
    </message>
    <message>
        <source>OpenFile needs a file name</source>
        <translation>OpenFile needs a file name</translation>
    </message>
    <message>
        <source>OpenFile needs an absolute file name, not %1</source>
        <translation>OpenFile needs an absolute file name, not %1</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>FontWindow</name>
    <message>
        <source>Save font as</source>
        <translation>Save font as</translation>
    </message>
    <message>
        <source>Open font</source>
        <translation>Open font</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>New &amp;Western font</source>
        <translation>New &amp;Western font</translation>
    </message>
    <message>
        <source>New &amp;Japanese font</source>
        <translation>New &amp;Japanese font</translation>
    </message>
    <message>
        <source>Ctrl+Shift+N</source>
        <translation>Ctrl+Shift+N</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>&amp;Documents</source>
        <translation>&amp;Documents</translation>
    </message>
    <message>
        <source>Cannot save the font: %1</source>
        <translation>Cannot save the font: %1</translation>
    </message>
    <message>
        <source>Cannot save the font as %1: %2</source>
        <translation>Cannot save the font as %1: %2</translation>
    </message>
    <message>
        <source>%1 has unsaved changes. Save them?</source>
        <translation>%1 has unsaved changes. Save them?</translation>
    </message>
    <message>
        <source>No font open: File &gt; New or Open</source>
        <translation>No font open: File &gt; New or Open</translation>
    </message>
    <message>
        <source>Japanese</source>
        <translation>Japanese</translation>
    </message>
    <message>
        <source>Western</source>
        <translation>Western</translation>
    </message>
    <message>
        <source>%1[*] (%2) - pointillo-fontd</source>
        <translation>%1[*] (%2) - pointillo-fontd</translation>
    </message>
    <message>
        <source>Fonts (*.ttf *.woff2);;TrueType fonts (*.ttf);;WOFF2 web fonts (*.woff2);;All files (*)</source>
        <translation>Fonts (*.ttf *.woff2);;TrueType fonts (*.ttf);;WOFF2 web fonts (*.woff2);;All files (*)</translation>
    </message>
    <message>
        <source>TrueType font (*.ttf)</source>
        <translation>TrueType font (*.ttf)</translation>
    </message>
    <message>
        <source>WOFF2 web font (*.woff2)</source>
        <translation>WOFF2 web font (*.woff2)</translation>
    </message>
    <message>
        <source>&amp;Properties...</source>
        <translation>&amp;Properties...</translation>
    </message>
    <message>
        <source>Damaged parts of the file left out: %1</source>
        <translation>Damaged parts of the file left out: %1</translation>
    </message>
    <message numerus="yes">
        <source>Code %1 %2   %n glyph(s)</source>
        <translation>
            <numerusform>Code %1 %2   %n glyph</numerusform>
            <numerusform>Code %1 %2   %n glyphs</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Form1</name>
    <message>
        <source>X :</source>
        <translation>X :</translation>
    </message>
    <message>
        <source>Square</source>
        <translation>Square</translation>
    </message>
    <message>
        <source>ドットを正方形にする</source>
        <translation>Make the dots square</translation>
    </message>
    <message>
        <source>RefferOtherFont</source>
        <translation>Reference font</translation>
    </message>
    <message>
        <source>文字見本を表示する</source>
        <translation>Show the reference character</translation>
    </message>
    <message>
        <source>AllClr</source>
        <translation>Clear all</translation>
    </message>
    <message>
        <source>キャラクタテーブルのデータを全てクリア</source>
        <translation>Clear every glyph of the character table</translation>
    </message>
    <message>
        <source>AllFil</source>
        <translation>Fill all</translation>
    </message>
    <message>
        <source>AllRev</source>
        <translation>Invert all</translation>
    </message>
    <message>
        <source>Y :</source>
        <translation>Y :</translation>
    </message>
    <message>
        <source>SetSB</source>
        <translation>Margin</translation>
    </message>
    <message>
        <source>TTEditへの読み込み時にサイドベアリングを設定</source>
        <translation>Send the side bearings (L/R, in font units) with each glyph</translation>
    </message>
    <message>
        <source>文字見本</source>
        <translation>Character sample</translation>
    </message>
    <message>
        <source>参照するフォントのフェイス名</source>
        <translation>Face name of the reference font</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>キャラクタテーブルのデータを保存</source>
        <translation>Save the data of the character table</translation>
    </message>
    <message>
        <source>AutoSave</source>
        <translation>AutoSave</translation>
    </message>
    <message>
        <source>S :</source>
        <translation>S :</translation>
    </message>
    <message>
        <source>ChｒTbl</source>
        <translation>Table</translation>
    </message>
    <message>
        <source>実際に表示されているフォントのフェイス名</source>
        <translation>Face name of the font actually shown</translation>
    </message>
    <message>
        <source>文字</source>
        <translation>Character</translation>
    </message>
    <message>
        <source>文字コード</source>
        <translation>Character code, in hexadecimal</translation>
    </message>
    <message>
        <source>前の文字</source>
        <translation>Previous character</translation>
    </message>
    <message>
        <source>次の文字</source>
        <translation>Next character</translation>
    </message>
    <message>
        <source>TTEdit</source>
        <translation>Send to font</translation>
    </message>
    <message>
        <source>TTEditへ文字の読み込み</source>
        <translation>Send the glyph to the font in pointillo-fontd</translation>
    </message>
    <message>
        <source>A.Scan</source>
        <translation>Batch...</translation>
    </message>
    <message>
        <source>複数文字をまとめて処理</source>
        <translation>Send the glyphs of a range of codes to the font in one go</translation>
    </message>
    <message>
        <source>SB : </source>
        <translation>L/R:</translation>
    </message>
    <message>
        <source>左サイドベアリング</source>
        <translation>Left side bearing, in font units</translation>
    </message>
    <message>
        <source>右サイドベアリング</source>
        <translation>Right side bearing, in font units</translation>
    </message>
    <message>
        <source>Clr</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>全ドットのクリア</source>
        <translation>Clear all dots</translation>
    </message>
    <message>
        <source>Fil</source>
        <translation>Fill</translation>
    </message>
    <message>
        <source>全ドットのフィル</source>
        <translation>Fill all dots</translation>
    </message>
    <message>
        <source>Rev</source>
        <translation>Invert</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>save</source>
        <translation>save</translation>
    </message>
    <message>
        <source>save setting</source>
        <translation>save setting</translation>
    </message>
    <message>
        <source>load setting</source>
        <translation>load setting</translation>
    </message>
    <message>
        <source>reset to default setting</source>
        <translation>reset to default setting</translation>
    </message>
    <message>
        <source>export BDF...</source>
        <translation>export BDF...</translation>
    </message>
    <message>
        <source>exit</source>
        <translation>exit</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>undo</source>
        <translation>undo</translation>
    </message>
    <message>
        <source>redo</source>
        <translation>redo</translation>
    </message>
    <message>
        <source>prev char</source>
        <translation>prev char</translation>
    </message>
    <message>
        <source>next char</source>
        <translation>next char</translation>
    </message>
    <message>
        <source>ttedit</source>
        <translation>send to font</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>refresh</source>
        <translation>refresh</translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <translation>&amp;Window</translation>
    </message>
    <message>
        <source>char table</source>
        <translation>char table</translation>
    </message>
    <message>
        <source>preview</source>
        <translation>preview</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>about...</source>
        <translation>about...</translation>
    </message>
    <message>
        <source>go to marrowby...</source>
        <translation>go to marrowby...</translation>
    </message>
    <message>
        <source>文字コード %1 から先の文字は読み込まれませんでした</source>
        <translation>The characters from code %1 on were not loaded</translation>
    </message>
    <message>
        <source>BDF フォント (*.bdf);;すべてのファイル (*)</source>
        <translation>BDF fonts (*.bdf);;All files (*)</translation>
    </message>
    <message>
        <source>BDFフォントの書き出し</source>
        <translation>Export BDF Font</translation>
    </message>
    <message>
        <source>%1 文字がグリフの大きさ（%2 × %3 ドット）に収まらないため、はみ出したドットを切り取りました</source>
        <translation>%1 characters do not fit the glyph size (%2 × %3 dots): the dots outside it were cut off</translation>
    </message>
    <message>
        <source>BDFフォントを書き出せませんでした</source>
        <translation>The BDF font could not be written</translation>
    </message>
    <message>
        <source>paint</source>
        <translation>paint</translation>
    </message>
    <message>
        <source>undo %1</source>
        <translation>undo %1</translation>
    </message>
    <message>
        <source>redo %1</source>
        <translation>redo %1</translation>
    </message>
    <message>
        <source>すべての文字をクリアしても良いですか？</source>
        <translation>Clear all characters?</translation>
    </message>
    <message>
        <source>すべての文字をフィルしても良いですか？</source>
        <translation>Fill all characters?</translation>
    </message>
    <message>
        <source>load</source>
        <translation>load</translation>
    </message>
    <message>
        <source>キャラクタテーブルを保存できませんでした</source>
        <translation>The character table could not be saved</translation>
    </message>
    <message>
        <source>保存しないで終了しますか？</source>
        <translation>Exit without saving?</translation>
    </message>
    <message>
        <source>欧文フォントなら Yes(はい)、和文フォントなら No(いいえ)を押してください。</source>
        <translation>Which kind of font? Western: single-byte, codes 20-FF. Japanese: double-byte, Shift_JIS.</translation>
    </message>
    <message>
        <source>フォントファイルを新規作成できませんでした</source>
        <translation>A new font file could not be created</translation>
    </message>
    <message>
        <source>この文字コードはキャラクタテーブルにありません。TTEditの文字は空のグリフで置き換えられます。よろしいですか？</source>
        <translation>This character code has no cell in the character table. The font&apos;s glyph will be replaced by an empty one. Continue?</translation>
    </message>
    <message>
        <source>ドットファイルを書き込めませんでした</source>
        <translation>The dots file could not be written</translation>
    </message>
    <message>
        <source>TTEditが起動できませんでした</source>
        <translation>The font server pointillo-fontd could not be started</translation>
    </message>
    <message>
        <source>TTEditのフォントには文字コード %1 がありません。文字は読み込まれませんでした</source>
        <translation>The font in pointillo-fontd has no code %1. The glyph was not sent</translation>
    </message>
    <message>
        <source>TTEditは文字コード %1 の文字を受け付けませんでした</source>
        <translation>pointillo-fontd did not accept the glyph of code %1</translation>
    </message>
    <message>
        <source>TTEditでフォントがセーブされていません。セーブしますか？</source>
        <translation>The font in pointillo-fontd has not been saved. Save it?</translation>
    </message>
    <message>
        <source>フォントファイルが開かれていません。新規作成しますか？</source>
        <translation>No font is open in the font server pointillo-fontd.</translation>
    </message>
    <message>
        <source>新規作成する場合は Yes(はい)、既存のファイルを開く場合は、自分で開いた後に No(いいえ)を押してください。</source>
        <translation>New font makes one. To work on a font file, open it in the pointillo-fontd window first, then choose I opened one.</translation>
    </message>
    <message>
        <source>起動時に読み込めなかったファイルを別の名前で残せませんでした: %1</source>
        <translation>The file that could not be read at start could not be kept under another name: %1</translation>
    </message>
    <message>
        <source>起動時に読み込めなかったキャラクタテーブルのファイルは、上書きせずに次の名前で残しました</source>
        <translation>The character table file that could not be read at start was not written over; it was kept as</translation>
    </message>
    <message>
        <source>TTEditでフォントをセーブできませんでした</source>
        <translation>pointillo-fontd could not save the font</translation>
    </message>
    <message>
        <source>文字は読み込まれましたが、サイドベアリングは設定されませんでした: %1</source>
        <translation>The character was imported, but its side bearings were not set: %1</translation>
    </message>
    <message>
        <source>起動時に読み込んだキャラクタテーブルの絵は表より大きいため、上書きせずに次の名前で残しました</source>
        <translation>The character table picture read at start is larger than the table; it was not written over, but kept as</translation>
    </message>
    <message>
        <source>キャラクタテーブルを %1 から読み込みました。これからは次のファイルに保存します</source>
        <translation>The character table was read from %1. From now on it is saved to</translation>
    </message>
    <message>
        <source>prev page</source>
        <translation>prev page</translation>
    </message>
    <message>
        <source>next page</source>
        <translation>next page</translation>
    </message>
    <message>
        <source>send all glyphs</source>
        <translation>send all glyphs</translation>
    </message>
    <message>
        <source>フォントに送るグリフがありません</source>
        <translation>There are no glyphs to send to the font</translation>
    </message>
    <message>
        <source>起動時に読み込めなかった2バイト文字のファイルは、上書きせずに次の名前で残しました</source>
        <translation>The double-byte character files that could not be read at start were not written over; they were kept as</translation>
    </message>
    <message>
        <source>%1 のすべての文字をクリアしても良いですか？</source>
        <translation>Clear all characters of %1?</translation>
    </message>
    <message>
        <source>%1 のすべての文字をフィルしても良いですか？</source>
        <translation>Fill all characters of %1?</translation>
    </message>
    <message>
        <source>%1 のすべての文字を反転しても良いですか？</source>
        <translation>Invert all characters of %1?</translation>
    </message>
    <message>
        <source>baseline</source>
        <translation>baseline</translation>
    </message>
    <message>
        <source>flip horizontal</source>
        <translation>flip horizontal</translation>
    </message>
    <message>
        <source>flip vertical</source>
        <translation>flip vertical</translation>
    </message>
    <message>
        <source>rotate right</source>
        <translation>rotate right</translation>
    </message>
    <message>
        <source>move up</source>
        <translation>move up</translation>
    </message>
    <message>
        <source>move down</source>
        <translation>move down</translation>
    </message>
    <message>
        <source>move left</source>
        <translation>move left</translation>
    </message>
    <message>
        <source>move right</source>
        <translation>move right</translation>
    </message>
    <message>
        <source>copy glyph</source>
        <translation>copy glyph</translation>
    </message>
    <message>
        <source>paste glyph</source>
        <translation>paste glyph</translation>
    </message>
    <message>
        <source>send and next</source>
        <translation>send and next</translation>
    </message>
    <message>
        <source>クリップボードには、グリフにできる画像も # と . のテキストもありません</source>
        <translation>The clipboard holds no picture and no text of # and . to make a glyph of</translation>
    </message>
    <message>
        <source>はい(&amp;Y)</source>
        <comment>no font: make a new one</comment>
        <translation>New font</translation>
    </message>
    <message>
        <source>いいえ(&amp;N)</source>
        <comment>no font: one was opened meanwhile</comment>
        <translation>I opened one</translation>
    </message>
    <message>
        <source>はい(&amp;Y)</source>
        <comment>font kind: Western</comment>
        <translation>Western</translation>
    </message>
    <message>
        <source>いいえ(&amp;N)</source>
        <comment>font kind: Japanese</comment>
        <translation>Japanese</translation>
    </message>
    <message>
        <source>import font...</source>
        <translation>import font...</translation>
    </message>
    <message>
        <source>フォントの読み込み</source>
        <translation>Import Font</translation>
    </message>
    <message>
        <source>フォント (*.bdf *.pcf *.bdf.gz *.pcf.gz *.ttf *.otf *.woff *.woff2);;すべてのファイル (*)</source>
        <translation>Fonts (*.bdf *.pcf *.bdf.gz *.pcf.gz *.ttf *.otf *.woff *.woff2);;All files (*)</translation>
    </message>
    <message>
        <source>アウトラインを何ピクセルの大きさで読み込みますか？</source>
        <translation>At what size in pixels should the outlines be read?</translation>
    </message>
    <message>
        <source>フォントを読み込めませんでした</source>
        <translation>The font could not be read</translation>
    </message>
    <message>
        <source>欧文フォント</source>
        <translation>Western font</translation>
    </message>
    <message>
        <source>日本語フォント</source>
        <translation>Japanese font</translation>
    </message>
    <message>
        <source>フォントに%1のコードの文字がありません</source>
        <translation>The font has no characters of the codes of a %1</translation>
    </message>
    <message>
        <source>キャラクタテーブル</source>
        <translation>the character table</translation>
    </message>
    <message>
        <source>キャラクタテーブルとページ %1</source>
        <translation>the character table and the pages %1</translation>
    </message>
    <message>
        <source>ページ %1</source>
        <translation>the pages %1</translation>
    </message>
    <message>
        <source>%1の文字をフォントの文字で置き換えても良いですか？</source>
        <translation>Replace the characters of %1 with the characters of the font?</translation>
    </message>
    <message>
        <source>import font</source>
        <translation>import font</translation>
    </message>
    <message>
        <source>%1 文字は%2のコードにない文字のため、読み込みませんでした</source>
        <translation>%1 characters were not read: a %2 has no code for them</translation>
    </message>
    <message>
        <source>%1 文字は、同じ文字の別のコード（Windows がその文字に使うコード）で書き出したため、書き出しませんでした</source>
        <translation>%1 characters were not written: the same character was written from its other code (the one Windows uses for it)</translation>
    </message>
</context>
<context>
    <name>GlyphBuilder</name>
    <message>
        <source>the image is %1 pixels wide; a glyph can be at most %2</source>
        <translation>the image is %1 pixels wide; a glyph can be at most %2</translation>
    </message>
    <message>
        <source>the outline needs more than %1 points, the most a glyph holds</source>
        <translation>the outline needs more than %1 points, the most a glyph holds</translation>
    </message>
    <message>
        <source>a left side bearing of %1 moves the glyph outside the coordinate range %2..%3</source>
        <translation>a left side bearing of %1 moves the glyph outside the coordinate range %2..%3</translation>
    </message>
    <message>
        <source>side bearings %1 and %2 give an advance width of %3, outside 0..%4</source>
        <translation>side bearings %1 and %2 give an advance width of %3, outside 0..%4</translation>
    </message>
    <message>
        <source>the outline has %1 contours; a glyph holds at most %2</source>
        <translation>the outline has %1 contours; a glyph holds at most %2</translation>
    </message>
    <message>
        <source>the outline has %1 points; a glyph holds at most %2</source>
        <translation>the outline has %1 points; a glyph holds at most %2</translation>
    </message>
    <message>
        <source>the outline reaches beyond the coordinate range %1..%2</source>
        <translation>the outline reaches beyond the coordinate range %1..%2</translation>
    </message>
    <message>
        <source>the advance width %1 lies outside 0..%2</source>
        <translation>the advance width %1 lies outside 0..%2</translation>
    </message>
</context>
<context>
    <name>HandOver</name>
    <message>
        <source>cannot start %1: %2</source>
        <translation>cannot start %1: %2</translation>
    </message>
</context>
<context>
    <name>LaunchOptions</name>
    <message>
        <source>--dots takes WIDTHxHEIGHT in dots, such as 12x20, not &quot;%1&quot;</source>
        <translation>--dots takes WIDTHxHEIGHT in dots, such as 12x20, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--size takes a whole percentage, not &quot;%1&quot;</source>
        <translation>--size takes a whole percentage, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>%1 takes font units from -32768 to 32767, not &quot;%2&quot;</source>
        <translation>%1 takes font units from -32768 to 32767, not &quot;%2&quot;</translation>
    </message>
    <message>
        <source>--kind takes western or japanese, not &quot;%1&quot;</source>
        <translation>--kind takes western or japanese, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--family needs a name</source>
        <translation>--family needs a name</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 needs a value</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>unknown option %1</translation>
    </message>
    <message>
        <source>only one font file can be opened at start</source>
        <translation>only one font file can be opened at start</translation>
    </message>
    <message>
        <source>--dots, --size, --square, --lsb, --rsb, --kind, --family and -o go with --build</source>
        <translation>--dots, --size, --square, --lsb, --rsb, --kind, --family and -o go with --build</translation>
    </message>
    <message>
        <source>--build opens no font file (%1)</source>
        <translation>--build opens no font file (%1)</translation>
    </message>
    <message>
        <source>--build needs -o OUTPUT.ttf or OUTPUT.woff2</source>
        <translation>--build needs -o OUTPUT.ttf or OUTPUT.woff2</translation>
    </message>
    <message>
        <source>--lsb and --rsb go together</source>
        <translation>--lsb and --rsb go together</translation>
    </message>
    <message>
        <source>--build needs --dots WIDTHxHEIGHT for a character table</source>
        <translation>--build needs --dots WIDTHxHEIGHT for a character table</translation>
    </message>
    <message>
        <source>Usage: pointillo-fontd [--headless] [FILE.ttf|FILE.woff2]
       pointillo-fontd --build SOURCE [--build SOURCE ...] [--dots WxH]
                       [--size PERCENT] [--square] [--lsb N --rsb N]
                       [--kind western|japanese] [--family NAME]
                       -o OUT.ttf|OUT.woff2
The TrueType font document server behind the TTEdit.Application D-Bus interface.

  --headless   run without a window (also the case when there is no display)
  --version    print the version and end
  -h, --help   print this help and end
  FILE         open this font at start

--build makes a font, without a window or a bus, and ends.  A SOURCE is a
character table (TABLE.bmp: the editor&apos;s batch export of the codes 32 to 255)
or a bitmap font (BDF or PCF, also gzipped); of two sources with a glyph for
one code the later one&apos;s is taken:
  --dots WxH        glyph size in dots, 3 to 32 each way; needed with a table,
                    else the fonts&apos; own (the box that holds them all)
  --size PERCENT    exported dot size in percent of the dot pitch (default 100)
  --square          square dot cells (always, for fonts alone)
  --lsb N --rsb N   side bearings in font units
  --kind KIND       western or japanese (with a table, its single-byte codes
                    and the double-byte ones of TABLE.82.bmp... beside it); by
                    default the fonts&apos; registries decide, else western
  --family NAME     the family name (default: the output file&apos;s name)
  -o FILE           the font to write: WOFF2 when it ends in .woff2, else TrueType
The font&apos;s dates come from SOURCE_DATE_EPOCH when it is set, else from the newest
source&apos;s modification time.
</source>
        <translation>Usage: pointillo-fontd [--headless] [FILE.ttf|FILE.woff2]
       pointillo-fontd --build SOURCE [--build SOURCE ...] [--dots WxH]
                       [--size PERCENT] [--square] [--lsb N --rsb N]
                       [--kind western|japanese] [--family NAME]
                       -o OUT.ttf|OUT.woff2
The TrueType font document server behind the TTEdit.Application D-Bus interface.

  --headless   run without a window (also the case when there is no display)
  --version    print the version and end
  -h, --help   print this help and end
  FILE         open this font at start

--build makes a font, without a window or a bus, and ends.  A SOURCE is a
character table (TABLE.bmp: the editor&apos;s batch export of the codes 32 to 255)
or a bitmap font (BDF or PCF, also gzipped); of two sources with a glyph for
one code the later one&apos;s is taken:
  --dots WxH        glyph size in dots, 3 to 32 each way; needed with a table,
                    else the fonts&apos; own (the box that holds them all)
  --size PERCENT    exported dot size in percent of the dot pitch (default 100)
  --square          square dot cells (always, for fonts alone)
  --lsb N --rsb N   side bearings in font units
  --kind KIND       western or japanese (with a table, its single-byte codes
                    and the double-byte ones of TABLE.82.bmp... beside it); by
                    default the fonts&apos; registries decide, else western
  --family NAME     the family name (default: the output file&apos;s name)
  -o FILE           the font to write: WOFF2 when it ends in .woff2, else TrueType
The font&apos;s dates come from SOURCE_DATE_EPOCH when it is set, else from the newest
source&apos;s modification time.
</translation>
    </message>
</context>
<context>
    <name>PreviewWindow</name>
    <message>
        <source>Preview</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>プレビューする文字列</source>
        <translation>Text to preview</translation>
    </message>
</context>
<context>
    <name>ProgramInfo</name>
    <message>
        <source>version %1.%2</source>
        <translation>version %1.%2</translation>
    </message>
    <message>
        <source>(C) marrowby</source>
        <translation>(C) marrowby</translation>
    </message>
    <message>
        <source>&quot;Pointillo&quot; %1 for TTEdit  %2</source>
        <translation>&quot;Pointillo&quot; %1 for pointillo-fontd  %2</translation>
    </message>
</context>
<context>
    <name>RegularFile</name>
    <message>
        <source>it is a folder, not a file</source>
        <translation>it is a folder, not a file</translation>
    </message>
    <message>
        <source>it is a device, not a regular file</source>
        <translation>it is a device, not a regular file</translation>
    </message>
    <message>
        <source>it is a FIFO (named pipe), not a regular file</source>
        <translation>it is a FIFO (named pipe), not a regular file</translation>
    </message>
    <message>
        <source>it is a socket, not a regular file</source>
        <translation>it is a socket, not a regular file</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>it is not a regular file</translation>
    </message>
    <message>
        <source>the file is not open</source>
        <translation>the file is not open</translation>
    </message>
    <message>
        <source>the file ends early</source>
        <translation>the file ends early</translation>
    </message>
</context>
<context>
    <name>SignalWatcher</name>
    <message>
        <source>cannot create a socket pair: %1</source>
        <translation>cannot create a socket pair: %1</translation>
    </message>
    <message>
        <source>cannot handle signal %1: %2</source>
        <translation>cannot handle signal %1: %2</translation>
    </message>
</context>
<context>
    <name>StatusText</name>
    <message>
        <source>フォント: なし</source>
        <translation>Font: none</translation>
    </message>
    <message>
        <source>名前不明</source>
        <translation>unnamed</translation>
    </message>
    <message>
        <source>フォント: %1%2</source>
        <translation>Font: %1%2</translation>
    </message>
    <message>
        <source>フォント: %1%2 (%3)</source>
        <translation>Font: %1%2 (%3)</translation>
    </message>
    <message>
        <source>和文</source>
        <translation>Japanese</translation>
    </message>
    <message>
        <source>欧文</source>
        <translation>Western</translation>
    </message>
    <message>
        <source>文字を送る先の pointillo-fontd のフォント。* は保存されていない変更があることを示します</source>
        <translation>The font in pointillo-fontd that the glyphs are sent to; * marks changes not saved yet</translation>
    </message>
    <message>
        <source>%1 を %2 に送りました</source>
        <translation>Sent %1 to %2</translation>
    </message>
    <message>
        <source>フォント</source>
        <translation>the font</translation>
    </message>
    <message>
        <source>A.Scan</source>
        <translation>Batch</translation>
    </message>
    <message>
        <source>send all glyphs</source>
        <translation>Send all glyphs</translation>
    </message>
    <message>
        <source>%1: %2 文字を送りました</source>
        <translation>%1: %2 sent</translation>
    </message>
    <message>
        <source>%1: %2 文字を送り、%3 文字を飛ばしました (%4)</source>
        <translation>%1: %2 sent, %3 skipped (%4)</translation>
    </message>
    <message>
        <source>%1、%2 から先は送っていません</source>
        <translation>%1, nothing sent from %2 on</translation>
    </message>
    <message>
        <source>%1、キャンセルしました</source>
        <translation>%1, cancelled</translation>
    </message>
    <message>
        <source>キャラクタテーブルを %1 に保存しました</source>
        <translation>Table saved to %1</translation>
    </message>
    <message numerus="yes">
        <source>%1 から %n 文字を読み込みました</source>
        <translation>
            <numerusform>Imported %n glyph from %1</numerusform>
            <numerusform>Imported %n glyphs from %1</numerusform>
        </translation>
    </message>
    <message>
        <source>BDFフォントを %1 に書き出しました</source>
        <translation>BDF font written to %1</translation>
    </message>
    <message>
        <source>設定を書き込める保存先がありませんでした</source>
        <translation>Settings not saved: neither of their stores can be written</translation>
    </message>
    <message>
        <source>設定を %1 に保存しました</source>
        <translation>Settings saved to %1</translation>
    </message>
    <message>
        <source>設定を読み込みました</source>
        <translation>Settings loaded</translation>
    </message>
    <message>
        <source>既定の設定に戻しました（保存はしていません）</source>
        <translation>Default settings restored (not saved)</translation>
    </message>
</context>
<context>
    <name>TableBuild</name>
    <message>
        <source>a glyph has %1 to %2 dots each way, not %3 x %4</source>
        <translation>a glyph has %1 to %2 dots each way, not %3 x %4</translation>
    </message>
    <message>
        <source>the dot size is %1 to %2 percent, not %3</source>
        <translation>the dot size is %1 to %2 percent, not %3</translation>
    </message>
    <message>
        <source>side bearings are -32768 to 32767 font units, not %1 and %2</source>
        <translation>side bearings are -32768 to 32767 font units, not %1 and %2</translation>
    </message>
    <message>
        <source>code 0x%1: %2</source>
        <translation>code 0x%1: %2</translation>
    </message>
    <message>
        <source>SOURCE_DATE_EPOCH must be a number of seconds, not &quot;%1&quot;</source>
        <translation>SOURCE_DATE_EPOCH must be a number of seconds, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>%1 has no modification time</source>
        <translation>%1 has no modification time</translation>
    </message>
    <message>
        <source>the output %1 is the character table itself</source>
        <translation>the output %1 is the character table itself</translation>
    </message>
    <message>
        <source>cannot read the character table %1: %2</source>
        <translation>cannot read the character table %1: %2</translation>
    </message>
    <message>
        <source>cannot build the font: %1</source>
        <translation>cannot build the font: %1</translation>
    </message>
    <message>
        <source>Japanese</source>
        <translation>Japanese</translation>
    </message>
    <message>
        <source>Western</source>
        <translation>Western</translation>
    </message>
    <message>
        <source>SOURCE_DATE_EPOCH %1 lies beyond the year %2</source>
        <translation>SOURCE_DATE_EPOCH %1 lies beyond the year %2</translation>
    </message>
    <message>
        <source>cannot read the page file %1: %2</source>
        <translation>cannot read the page file %1: %2</translation>
    </message>
    <message>
        <source>the output %1 is the font %2 itself</source>
        <translation>the output %1 is the font %2 itself</translation>
    </message>
    <message>
        <source>cannot read the font %1: %2</source>
        <translation>cannot read the font %1: %2</translation>
    </message>
    <message>
        <source>%1 is a %2 font and %3 a %4 one: give --kind</source>
        <translation>%1 is a %2 font and %3 a %4 one: give --kind</translation>
    </message>
    <message>
        <source>%1 holds no glyph of a code a %2 font holds</source>
        <translation>%1 holds no glyph of a code a %2 font holds</translation>
    </message>
    <message>
        <source>%1: %2 glyphs cut to %3 x %4 dots</source>
        <translation>%1: %2 glyphs cut to %3 x %4 dots</translation>
    </message>
    <message numerus="yes">
        <source>%1: %n glyphs of codes a %2 font does not hold left out</source>
        <translation>
            <numerusform>%1: %n glyph of codes a %2 font does not hold left out</numerusform>
            <numerusform>%1: %n glyphs of codes a %2 font does not hold left out</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1: &quot;%2&quot;, %n glyphs of %3 x %4 dots (%5), %6 bytes</source>
        <translation>
            <numerusform>%1: &quot;%2&quot;, %n glyph of %3 x %4 dots (%5), %6 bytes</numerusform>
            <numerusform>%1: &quot;%2&quot;, %n glyphs of %3 x %4 dots (%5), %6 bytes</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TableFile</name>
    <message>
        <source>not a regular file</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>not a BMP picture</source>
        <translation>not a BMP picture</translation>
    </message>
    <message>
        <source>a picture of %1 x %2 pixels is not read</source>
        <translation>a picture of %1 x %2 pixels is not read</translation>
    </message>
    <message>
        <source>%1 bits per pixel are not read</source>
        <translation>%1 bits per pixel are not read</translation>
    </message>
    <message>
        <source>compressed BMP pictures are not read</source>
        <translation>compressed BMP pictures are not read</translation>
    </message>
    <message>
        <source>the BMP header is damaged</source>
        <translation>the BMP header is damaged</translation>
    </message>
    <message>
        <source>the file is shorter than its picture</source>
        <translation>the file is shorter than its picture</translation>
    </message>
</context>
<context>
    <name>TrueTypeReader</name>
    <message>
        <source>the font has no Unicode or Shift_JIS character map</source>
        <translation>the font has no Unicode or Shift_JIS character map</translation>
    </message>
    <message>
        <source>the character map sends code 0x%1 to glyph %2, but the font has %3 glyphs</source>
        <translation>the character map sends code 0x%1 to glyph %2, but the font has %3 glyphs</translation>
    </message>
    <message>
        <source>the glyphs of its codes hold more than %1 points or %2 contours in all, more than a font here may hold</source>
        <translation>the glyphs of its codes hold more than %1 points or %2 contours in all, more than a font here may hold</translation>
    </message>
    <message>
        <source>not a TrueType font: the file is too short</source>
        <translation>not a TrueType font: the file is too short</translation>
    </message>
    <message>
        <source>OpenType fonts with PostScript (CFF) outlines are not supported, only TrueType outlines</source>
        <translation>OpenType fonts with PostScript (CFF) outlines are not supported, only TrueType outlines</translation>
    </message>
    <message>
        <source>font collections are not supported</source>
        <translation>font collections are not supported</translation>
    </message>
    <message>
        <source>WOFF fonts are not supported</source>
        <translation>WOFF fonts are not supported</translation>
    </message>
    <message>
        <source>not a TrueType font</source>
        <translation>not a TrueType font</translation>
    </message>
    <message>
        <source>truncated font: the table directory is cut off</source>
        <translation>truncated font: the table directory is cut off</translation>
    </message>
    <message>
        <source>truncated font: the &apos;%1&apos; table lies beyond the end of the file</source>
        <translation>truncated font: the &apos;%1&apos; table lies beyond the end of the file</translation>
    </message>
    <message>
        <source>the font has no &apos;%1&apos; table</source>
        <translation>the font has no &apos;%1&apos; table</translation>
    </message>
    <message>
        <source>the &apos;head&apos; table is too short</source>
        <translation>the &apos;head&apos; table is too short</translation>
    </message>
    <message>
        <source>the &apos;maxp&apos; table is too short</source>
        <translation>the &apos;maxp&apos; table is too short</translation>
    </message>
    <message>
        <source>the &apos;hhea&apos; table is too short</source>
        <translation>the &apos;hhea&apos; table is too short</translation>
    </message>
    <message>
        <source>unknown glyph location format %1</source>
        <translation>unknown glyph location format %1</translation>
    </message>
    <message>
        <source>the font has no glyphs</source>
        <translation>the font has no glyphs</translation>
    </message>
    <message>
        <source>the &apos;hhea&apos; table lists no horizontal metrics</source>
        <translation>the &apos;hhea&apos; table lists no horizontal metrics</translation>
    </message>
    <message>
        <source>the &apos;hmtx&apos; table is too short</source>
        <translation>the &apos;hmtx&apos; table is too short</translation>
    </message>
    <message>
        <source>the &apos;loca&apos; table is too short</source>
        <translation>the &apos;loca&apos; table is too short</translation>
    </message>
    <message>
        <source>the &apos;loca&apos; table goes back at glyph %1</source>
        <translation>the &apos;loca&apos; table goes back at glyph %1</translation>
    </message>
    <message>
        <source>the &apos;loca&apos; table points beyond the &apos;glyf&apos; table</source>
        <translation>the &apos;loca&apos; table points beyond the &apos;glyf&apos; table</translation>
    </message>
    <message>
        <source>the &apos;cmap&apos; table is cut off</source>
        <translation>the &apos;cmap&apos; table is cut off</translation>
    </message>
    <message>
        <source>glyph %1 (code 0x%2)</source>
        <translation>glyph %1 (code 0x%2)</translation>
    </message>
    <message>
        <source>%1 lies outside the &apos;glyf&apos; table</source>
        <translation>%1 lies outside the &apos;glyf&apos; table</translation>
    </message>
    <message>
        <source>%1 is cut off</source>
        <translation>%1 is cut off</translation>
    </message>
    <message>
        <source>%1 is a composite glyph; only simple outlines can be edited</source>
        <translation>%1 is a composite glyph; only simple outlines can be edited</translation>
    </message>
    <message>
        <source>%1 has malformed contour ends</source>
        <translation>%1 has malformed contour ends</translation>
    </message>
    <message>
        <source>%1 has curves; only outlines of straight lines can be edited</source>
        <translation>%1 has curves; only outlines of straight lines can be edited</translation>
    </message>
    <message>
        <source>%1 has malformed flags</source>
        <translation>%1 has malformed flags</translation>
    </message>
    <message>
        <source>%1 has coordinates beyond 16 bits</source>
        <translation>%1 has coordinates beyond 16 bits</translation>
    </message>
    <message>
        <source>lies beyond the &apos;cmap&apos; table</source>
        <translation>lies beyond the &apos;cmap&apos; table</translation>
    </message>
    <message>
        <source>is a format %1 subtable cut off</source>
        <translation>is a format %1 subtable cut off</translation>
    </message>
    <message>
        <source>the character map of platform %1, encoding %2 %3; skipped</source>
        <translation>the character map of platform %1, encoding %2 %3; skipped</translation>
    </message>
    <message>
        <source>the character map lists the glyphs of the codes %1 outside itself; those codes have no glyph</source>
        <translation>the character map lists the glyphs of the codes %1 outside itself; those codes have no glyph</translation>
    </message>
    <message>
        <source>the font has %1 units per em; only fonts of %2 units per em (%3 per dot pixel), or of square dots made here, can be edited</source>
        <translation>the font has %1 units per em; only fonts of %2 units per em (%3 per dot pixel), or of square dots made here, can be edited</translation>
    </message>
</context>
<context>
    <name>TrueTypeWriter</name>
    <message>
        <source>%1 contours (at most %2)</source>
        <translation>%1 contours (at most %2)</translation>
    </message>
    <message>
        <source>%1 points (at most %2)</source>
        <translation>%1 points (at most %2)</translation>
    </message>
    <message>
        <source>coordinates beyond 16 bits</source>
        <translation>coordinates beyond 16 bits</translation>
    </message>
    <message>
        <source>advance width %1</source>
        <translation>advance width %1</translation>
    </message>
    <message>
        <source>the font cannot hold the code 0x%1</source>
        <translation>the font cannot hold the code 0x%1</translation>
    </message>
    <message>
        <source>the glyph of code 0x%1 does not fit TrueType: %2</source>
        <translation>the glyph of code 0x%1 does not fit TrueType: %2</translation>
    </message>
    <message>
        <source>%1 glyphs; a font holds at most 65535</source>
        <translation>%1 glyphs; a font holds at most 65535</translation>
    </message>
    <message>
        <source>the font would exceed 2 GiB</source>
        <translation>the font would exceed 2 GiB</translation>
    </message>
    <message>
        <source>internal error: a table did not fill its computed size</source>
        <translation>internal error: a table did not fill its computed size</translation>
    </message>
    <message>
        <source>internal error: the table directory did not fit</source>
        <translation>internal error: the table directory did not fit</translation>
    </message>
</context>
<context>
    <name>WholeFile</name>
    <message>
        <source>no file name is given</source>
        <translation>no file name is given</translation>
    </message>
</context>
<context>
    <name>Woff2</name>
    <message>
        <source>the WOFF2 encoder refused the font</source>
        <translation>the WOFF2 encoder refused the font</translation>
    </message>
    <message>
        <source>not a WOFF2 font that can be read, or one of more than %1 bytes unpacked</source>
        <translation>not a WOFF2 font that can be read, or one of more than %1 bytes unpacked</translation>
    </message>
    <message>
        <source>the WOFF2 header is cut off</source>
        <translation>the WOFF2 header is cut off</translation>
    </message>
    <message>
        <source>font collections are not supported</source>
        <translation>font collections are not supported</translation>
    </message>
    <message>
        <source>the WOFF2 table directory is cut off</source>
        <translation>the WOFF2 table directory is cut off</translation>
    </message>
    <message>
        <source>the WOFF2 table directory is cut off or malformed</source>
        <translation>the WOFF2 table directory is cut off or malformed</translation>
    </message>
    <message>
        <source>the WOFF2 table directory declares a font of %1 bytes, more than the %2 bytes a font may have</source>
        <translation>the WOFF2 table directory declares a font of %1 bytes, more than the %2 bytes a font may have</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>* You need to have TTEdit 3.20 or later installed.</source>
        <translation>* Glyphs go to the font server pointillo-fontd, which makes the TrueType fonts.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>&amp;System Info</source>
        <translation>&amp;System Info</translation>
    </message>
    <message>
        <source>marrowby...</source>
        <translation>marrowby...</translation>
    </message>
    <message>
        <source>現時点ではｼｽﾃﾑ情報を使用できません</source>
        <translation>System information is not available at this time</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>cannot open %1: %2</source>
        <translation>cannot open %1: %2</translation>
    </message>
</context>
</TS>
