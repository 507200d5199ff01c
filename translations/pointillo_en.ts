<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AtomicFile</name>
    <message>
        <source>no free temporary name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no free file name in %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>BdfFont</name>
    <message>
        <source>not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file is larger than %1 MB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file ends after line %1, before %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 needs a width and a height of 0 to %2 and two offsets of -%3 to %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not a BDF font (no STARTFONT)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>STARTPROPERTIES needs a count</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>STARTPROPERTIES says %1 properties, the file holds %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CHARS needs a count</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 glyphs are more than the %2 read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no FONTBOUNDINGBOX before CHARS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no CHARS before %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>STARTCHAR or ENDFONT expected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CHARS says %1 glyphs, the file holds more</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BITMAP expected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ENCODING needs a number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a glyph without ENCODING</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a glyph without BBX</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BBX says %1 rows, BITMAP holds %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a BITMAP row narrower than its BBX</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a BITMAP row that is not hexadecimal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BBX says %1 rows, BITMAP holds more</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CHARS says %1 glyphs, the file holds %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>BmpReader</name>
    <message>
        <source>truncated BMP file: the image needs %1 bytes, the file holds %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not a BMP file (it does not start with &quot;BM&quot;)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>truncated BMP file: the header is incomplete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unsupported BMP header of %1 bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>invalid BMP header: %1 colour planes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unsupported BMP depth of %1 bits per pixel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>run-length compressed BMP files are not supported</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>invalid BMP header: bit fields at %1 bits per pixel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unsupported BMP compression %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>invalid BMP size: the width is %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>invalid BMP size: the height is 0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BMP image too large: %1 x %2 pixels (at most %3 x %3)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>invalid BMP header: a top-down compressed image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BMP image too large: %1 bytes of pixel data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>truncated BMP file: the colour masks are incomplete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>invalid BMP header: the pixel data starts at byte %1, inside the header</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot open the file: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot read the file: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DBusAutomationObject</name>
    <message>
        <source>argument %1 of %2 has type %3, which has no D-Bus type here</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot send %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no reply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 answered %2 values</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 answered a value of signature %2, which is not understood</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DialogAutoScanning</name>
    <message>
        <source>Auto Scanning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DialogScanAll</name>
    <message>
        <source>Character Range</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DocumentObject</name>
    <message>
        <source>Untitled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is the file of another open font, %2 (%3); close that one first</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ImportBmpfile needs a file name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ImportBmpfile needs an absolute file name, not %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot import %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot set side bearings %1 and %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot save the font: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SaveAs needs a file name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SaveAs needs an absolute file name, not %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot save the font as %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DotsBitmap</name>
    <message>
        <source>The canvas is empty.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The canvas of %1 x %2 pixels is larger than a glyph bitmap can be.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot open %1 for writing: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FontDocument</name>
    <message>
        <source>the font cannot hold the code 0x%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>code 0x%1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot build the font: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot create the documents folder %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot save in %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no file name given</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot open %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: the file is too large for a font (%2 bytes, at most %3)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FontServer</name>
    <message>
        <source>cannot connect to the D-Bus session bus: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot register the object %1 on the session bus</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the session bus offers no bus interface</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot claim the name %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>another server already owns the name %1 on this session bus</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot register the document object %1 on the session bus</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no file name given</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot open %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OpenFile needs a file name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OpenFile needs an absolute file name, not %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FontWindow</name>
    <message>
        <source>TrueType fonts (*.ttf);;All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save font as</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open font</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New &amp;Western font</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New &amp;Japanese font</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+Shift+N</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Documents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot save the font: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot save the font as %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 has unsaved changes. Save them?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No font open: File &gt; New or Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Japanese</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Western</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1[*] (%2) - pointillo-fontd</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Code %1 %2   %3 glyphs</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Form1</name>
    <message>
        <source>X :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Square</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ドットを正方形にする</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RefferOtherFont</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文字見本を表示する</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AllClr</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>キャラクタテーブルのデータを全てクリア</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AllFil</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AllRev</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Y :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SetSB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TTEditへの読み込み時にサイドベアリングを設定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文字見本</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>参照するフォントのフェイス名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>キャラクタテーブルのデータを保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AutoSave</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ChｒTbl</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>実際に表示されているフォントのフェイス名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文字コード</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>前の文字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>次の文字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TTEdit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TTEditへ文字の読み込み</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A.Scan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>複数文字をまとめて処理</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SB : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>左サイドベアリング</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>右サイドベアリング</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clr</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>全ドットのクリア</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fil</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>全ドットのフィル</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rev</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>save setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>load setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>reset to default setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>import BDF...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>export BDF...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>prev char</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>next char</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ttedit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>char table</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>about...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>go to marrowby...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文字コード %1 から先の文字は読み込まれませんでした</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BDF フォント (*.bdf);;すべてのファイル (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BDFフォントの読み込み</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BDFフォントの書き出し</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BDFフォントを読み込めませんでした</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BDFフォントに文字コード20～FFの文字がありません</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>キャラクタテーブルをBDFフォントの文字で置き換えても良いですか？</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>import BDF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 文字がグリフの大きさ（%2 × %3 ドット）に収まらないため、はみ出したドットを切り取りました</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BDFフォントを書き出せませんでした</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>paint</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>undo %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>redo %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>すべての文字をクリアしても良いですか？</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>すべての文字をフィルしても良いですか？</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>load</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>キャラクタテーブルを保存できませんでした</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存しないで終了しますか？</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フォントファイルが開かれていません。新規作成しますか？<byte value="xd"/><byte value="xd"/>新規作成する場合は Yes(はい)、既存のファイルを開く場合は、自分で開いた後に No(いいえ)を押してください。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>欧文フォントなら Yes(はい)、和文フォントなら No(いいえ)を押してください。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フォントファイルを新規作成できませんでした</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>この文字コードはキャラクタテーブルにありません。TTEditの文字は空のグリフで置き換えられます。よろしいですか？</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ドットファイルを書き込めませんでした</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TTEditが起動できませんでした</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TTEditのフォントには文字コード %1 がありません。文字は読み込まれませんでした</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TTEditは文字コード %1 の文字を受け付けませんでした</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GlyphBuilder</name>
    <message>
        <source>the image is %1 pixels wide; a glyph can be at most %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the outline needs more than %1 points, the most a glyph holds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a left side bearing of %1 moves the glyph outside the coordinate range %2..%3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>side bearings %1 and %2 give an advance width of %3, outside 0..%4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the outline has %1 contours; a glyph holds at most %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the outline has %1 points; a glyph holds at most %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the outline reaches beyond the coordinate range %1..%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the advance width %1 lies outside 0..%2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PreviewWindow</name>
    <message>
        <source>Preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>プレビューする文字列</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProgramInfo</name>
    <message>
        <source>version %1.%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(C) marrowby</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;Pointillo&quot; %1 for TTEdit  %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RegularFile</name>
    <message>
        <source>it is a folder, not a file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is a device, not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is a FIFO (named pipe), not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is a socket, not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file is not open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file ends early</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SignalWatcher</name>
    <message>
        <source>cannot create a socket pair: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot handle signal %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TableFile</name>
    <message>
        <source>not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not a BMP picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a picture of %1 x %2 pixels is not read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 bits per pixel are not read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>compressed BMP pictures are not read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the BMP header is damaged</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file is shorter than its picture</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TrueTypeReader</name>
    <message>
        <source>the font has no Unicode or Shift_JIS character map</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the character map sends code 0x%1 to glyph %2, but the font has %3 glyphs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the glyphs of its codes hold more than %1 points or %2 contours in all, more than a font here may hold</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not a TrueType font: the file is too short</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OpenType fonts with PostScript (CFF) outlines are not supported, only TrueType outlines</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>font collections are not supported</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>WOFF fonts are not supported</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not a TrueType font</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>truncated font: the table directory is cut off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>truncated font: the &apos;%1&apos; table lies beyond the end of the file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the font has no &apos;%1&apos; table</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the &apos;head&apos; table is too short</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the &apos;maxp&apos; table is too short</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the &apos;hhea&apos; table is too short</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the font has %1 units per em; only fonts of %2 units per em (%3 per dot pixel) can be edited</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown glyph location format %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the font has no glyphs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the &apos;hhea&apos; table lists no horizontal metrics</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the &apos;hmtx&apos; table is too short</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the &apos;loca&apos; table is too short</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the &apos;loca&apos; table goes back at glyph %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the &apos;loca&apos; table points beyond the &apos;glyf&apos; table</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the &apos;cmap&apos; table is cut off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>glyph %1 (code 0x%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 lies outside the &apos;glyf&apos; table</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is cut off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is a composite glyph; only simple outlines can be edited</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 has malformed contour ends</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 has curves; only outlines of straight lines can be edited</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 has malformed flags</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 has coordinates beyond 16 bits</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TrueTypeWriter</name>
    <message>
        <source>%1 contours (at most %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 points (at most %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>coordinates beyond 16 bits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>advance width %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the font cannot hold the code 0x%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the glyph of code 0x%1 does not fit TrueType: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 glyphs; a font holds at most 65535</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the font would exceed 2 GiB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>internal error: a table did not fill its computed size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>internal error: the table directory did not fit</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WholeFile</name>
    <message>
        <source>no file name is given</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>* You need to have TTEdit 3.20 or later installed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;System Info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>marrowby...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>現時点ではｼｽﾃﾑ情報を使用できません</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
