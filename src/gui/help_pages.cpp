#include "help_pages.h"

#include <QList>
#include <QStringList>

namespace brevant {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

struct Section {
    QString heading;
    QStringList body;
};

// Body lines start four spaces further in than their heading's text, so a page reads as
// an outline in the proportional font of the help box.
int BodyIndent(const QString& heading)
{
    int spaces = 0;
    while (spaces < heading.size() && heading.at(spaces) == u' ')
        ++spaces;
    return spaces + 4;
}

QString Render(const QList<Section>& sections)
{
    QString text;
    for (const Section& s : sections) {
        text += s.heading + kCrLf;
        if (s.heading.startsWith(u'【')) {
            text += kCrLf;
            continue;
        }
        if (s.body.isEmpty())
            continue; // a heading whose sub-sections follow at once
        const QString indent(BodyIndent(s.heading), u' ');
        for (const QString& line : s.body)
            text += indent + line + kCrLf;
        text += kCrLf;
    }
    return text;
}

// --- Texts used by two pages ---------------------------------------------------------

// The summary file as the output with a CSV file writes it, shown with the sample values.
QStringList CsvSampleLines()
{
    return {
        QStringLiteral("(例)"),
        QStringLiteral("  変動費率,限界利益率,固定費,損益分岐点,目標売上高,目標営業利益,"
                       "図表1ファイル名,図表2ファイル名,図表3ファイル名"),
        QStringLiteral("  56.13,43.87,49605558000,113073986779,125678900000,12604913221,"
                       "損益分岐点図表.png,損益分岐点指数図表.png,損益分岐点・指数図表.png"),
        QStringLiteral("上の例は、sampleボタンの値(最大売上高 154,321,000円、"
                       "目標売上高 125,678,900円、固定費 49,605,558円、変動費率 56.13%)で、"
                       "タイトルが初期値のまま、形式にPNGを選んだ場合です。"),
        QStringLiteral("変動費率と限界利益率はパーセント(小数点以下2桁)で出力されます。"),
        QStringLiteral("固定費、損益分岐点、目標売上高、目標営業利益の4項目は、"
                       "金額を1,000倍した値で出力されます(固定費 49,605,558円は "
                       "49605558000 となります)。最大売上高は出力されません。"),
        QStringLiteral("文字コードはShift-JIS、改行はCR LFです。"),
    };
}

QStringList ImageFileLines()
{
    return {
        QStringLiteral("上部で設定した色、太さ、文字サイズ、余白、金額単位などで描いた図表を、"
                       "1種類ずつ現在の図表の大きさで保存します。"),
        QStringLiteral("ファイル名は図表のタイトルに、選んだ形式の拡張子を付けたものです"
                       "(例：損益分岐点図表.png)。タイトルが空欄の図表は「図表2」のように"
                       "番号で名付けられます。"),
        QStringLiteral("タイトルにファイル名として使えない文字(「/」など)が含まれていると、"
                       "その図表のファイルは保存できません。"),
        QStringLiteral("出力中は、出力する図表が1つずつ画面に表示されます。"),
    };
}

QString DragValueLine()
{
    return QStringLiteral("ドラッグ中は、ドロップしたときにセットされる値が"
                          "カーソルの左または上に表示されます。");
}

QString CtrlClickLine()
{
    return QStringLiteral("Ctrlキーを押しながら図表の中をクリックすると、マウスのボタンを"
                          "押している間、可動線・点が太く大きく表示されます。"
                          "このときはドラッグは始まりません。");
}

QString EscCancelLine()
{
    return QStringLiteral("ドラッグ中にEscキーを押すと、値を変えずにドラッグを中止できます。");
}

QStringList DecimalLines()
{
    return {
        QStringLiteral("総費用線または限界利益線の右端をドラッグすると、表示される率は"
                       "1%単位となり、小数点以下は「57.00」のように「.00」となります。"),
        QStringLiteral("Ctrlキーを押しながらドラッグすると、小数点以下2桁まで調整でき、"
                       "「57.30」のように表示されます。"),
        QStringLiteral("限界利益線の右端では限界利益率が表示され、変動費率には"
                       "100%からその率を引いた値がセットされます。"),
    };
}

QString HelpToggleLine()
{
    return QStringLiteral("この説明は、説明のボタンのどれか(またはF1～F3キー)をもう一度押すと"
                          "閉じて、図表の表示にもどります。");
}

// --- Page 0: general ---------------------------------------------------------------

QList<Section> GeneralPage()
{
    QStringList csvFormat = {
        QStringLiteral("ファイル名は「BEP.csv」です。第1レコードに項目名、第2レコードに"
                       "値が出力されます。"),
    };
    csvFormat += CsvSampleLines();

    QStringList hold = {
        QStringLiteral("右上の可動線・点の明示ボタンをクリックすると、ドラッグできる"
                       "可動線・点が2秒間太く大きく表示されます。"),
        CtrlClickLine(),
    };

    return {
        {QStringLiteral("【全般説明】"), {}},
        {QStringLiteral("はじめに"),
         {
             QStringLiteral("このプログラムは、損益分岐点を構成する金額や率を変えながら、"
                            "損益分岐点を分析・シミュレーションするためのものです。"),
             QStringLiteral("上部の設定を変更すると、下部の図表がすぐに変わります。"),
             QStringLiteral("上部の設定は、外部出力や一括作成で作られる図表にも使われます。"),
             HelpToggleLine(),
         }},
        {QStringLiteral("1 表示する図表の種類"), {}},
        {QStringLiteral(" (1) 図表の種類"),
         {
             QStringLiteral("次の3種類の図表を表示できます。"),
             QStringLiteral("① 損益分岐点図表：売上高線と総費用線の交点で損益分岐点を示します。"),
             QStringLiteral("② 損益分岐点指数図表：固定費線と限界利益線の交点で損益分岐点を"
                            "示します。"),
             QStringLiteral("③ 損益分岐点・指数図表：①と②を1つにまとめた図表です。"),
             QStringLiteral("①と③には、目標売上高(目標営業利益)も表示されます。"),
         }},
        {QStringLiteral(" (2) 図表の表示切替え"),
         {
             QStringLiteral("図表のアイコンボタンまたはチェックボックスにチェックが入っている"
                            "図表が表示されます。"),
             QStringLiteral("アイコンボタンをクリックするたびに、表示と非表示が切り替わります。"
                            "表示する図表が少ないほど、1つの図表が広く表示されます。"),
         }},
        {QStringLiteral(" (3) 図表のタイトル"),
         {
             QStringLiteral("タイトルには初期値が入っていますが、自由に変更できます。"),
             QStringLiteral("副タイトル(副)が不要なときは、空欄にしてください。"),
             QStringLiteral("タイトルは出力するファイルの名前にも使われるため、"
                            "同じタイトルが2つ以上ある(空欄どうしを含む)ときは、"
                            "CSV付き出力と一括作成はできません。"),
         }},
        {QStringLiteral("2 文字と余白"), {}},
        {QStringLiteral(" (1) 文字サイズ"),
         {
             QStringLiteral("図表の文字の大きさを、5～50ポイントの範囲で指定します。"),
         }},
        {QStringLiteral(" (2) 外周余白"),
         {
             QStringLiteral("タイトルや目盛を含めた図表の外周の余白を、0～50ピクセルの範囲で"
                            "指定します。"),
         }},
        {QStringLiteral(" (3) 目盛余白"),
         {
             QStringLiteral("図表と目盛の間の余白を、0～50ピクセルの範囲で指定します。"),
         }},
        {QStringLiteral("3 色と太さ"),
         {
             QStringLiteral("線や範囲ごとに、色と太さ(0～20)を指定します。"
                            "色のボタンをクリックすると色を選べます。"),
             QStringLiteral("線の名前や値の文字は、その線と同じ色で表示されます。"),
             QStringLiteral("売上高線、固定費線、総費用線、限界利益線は、太さを0にすると"
                            "表示されません。"),
             QStringLiteral("「色　太さ」の見出しの横にある小さなボタンをクリックすると、"
                            "確認のうえで色が初期設定にもどります(太さは変わりません)。"),
         }},
        {QStringLiteral("4 金額と率"), {}},
        {QStringLiteral(" (1) 金額"),
         {
             QStringLiteral("最大売上高、目標売上高、固定費を円単位で入力します。"
                            "入力するとすぐに図表に反映され、右側に「1億5432万1000円」の"
                            "ように単位を付けた金額が表示されます。"),
             QStringLiteral("入力できる金額は 2,147,483,647円までです。"),
             QStringLiteral("「↓」ボタンをクリックすると、クリップボードから"
                            "「最大売上高,目標売上高,固定費,変動費率」の4つの値を読み込んで、"
                            "まとめてセットします。値の区切りはコンマまたはタブで、"
                            "表計算ソフトで横に並んだ4つのセルをコピーしたものも読み込めます。"),
             QStringLiteral("  (例) 154321000,125678900,49605558,56.13"),
             QStringLiteral("変動費率はパーセントで指定します。最大売上高と目標売上高は"
                            "省略できません。"),
             QStringLiteral("「sample」ボタンをクリックすると、上の例の値がセットされます。"),
         }},
        {QStringLiteral(" (2) 変動費率"),
         {
             QStringLiteral("変動費率を0～10,000の整数で指定します。パーセントの小数点以下"
                            "2桁までを表し、たとえば5613は56.13%です。"),
             QStringLiteral("入力欄の左に、パーセントで表した値が表示されます。"),
         }},
        {QStringLiteral("5 図表中の金額単位"),
         {
             QStringLiteral("図表中の金額を「円」単位で表示するか、「千円」単位で表示するかを"
                            "選びます。"),
             QStringLiteral("この設定は図表の表示だけに使われ、入力する金額は常に円単位です。"),
         }},
        {QStringLiteral("6 外部出力"), {}},
        {QStringLiteral(" (1) 形式"),
         {
             QStringLiteral("出力するファイルの形式を選びます。JPEG、BMP、GIF、PNG、TIFFを選ぶと"
                            "画像ファイルが、PDFを選ぶとPDFファイルが作られます。"),
             QStringLiteral("この形式は、CSV付き出力と一括作成にも使われます。"),
         }},
        {QStringLiteral(" (2) 図表の大きさ"),
         {
             QStringLiteral("現在表示されている図表の大きさ(ピクセル数)が、"
                            "「図表の大きさ：幅 × 高さ」の形で表示されます。"
                            "3つの図表を表示しているときは、3つを合わせた幅です。"),
             QStringLiteral("ウィンドウの大きさを変えると、図表の大きさも変わります。"
                            "出力される図表もこの大きさになります。"),
         }},
        {QStringLiteral(" (3) Clipboardへ"),
         {
             QStringLiteral("現在表示されている図表を、画像としてクリップボードにコピーします。"),
         }},
        {QStringLiteral(" (4) 現状出力"),
         {
             QStringLiteral("現在表示されている図表を、指定した場所に指定した名前で保存します。"),
             QStringLiteral("ファイルの種類は、最後に指定したファイル名の拡張子で決まります。"),
         }},
        {QStringLiteral(" (5) CSV付き出力"),
         {
             QStringLiteral("3種類の図表とCSVファイルを、名前を指定せずに自動で出力します。"),
         }},
        {QStringLiteral("   ア 保存場所"),
         {
             QStringLiteral("デスクトップの「BEP」フォルダの中に、日付と連番による名前のフォルダ"
                            "(例：20141231-001)を作り、CSVファイル1つと図表のファイル3つを"
                            "保存します。"),
             QStringLiteral("「BEP」フォルダがないときは自動で作られます。連番は001から999までで、"
                            "出力するたびに、その日の番号のうちまだ使われていない最初の番号が"
                            "使われます。"),
             QStringLiteral("保存が終わると、保存場所を表示するかどうかをたずねるメッセージが"
                            "表示されます。"),
         }},
        {QStringLiteral("   イ CSVファイルの出力仕様"), csvFormat},
        {QStringLiteral("   ウ イメージファイルの出力仕様"), ImageFileLines()},
        {QStringLiteral("7 金額および変動費率の調整"), {}},
        {QStringLiteral(" (1) スピンボタンによる調整"),
         {
             QStringLiteral("変動費率の入力欄の横にあるスピンボタンをクリックすると、"
                            "変動費率が0.01%ずつ増減し、図表もすぐに変わります。"
                            "入力欄で↑↓キーを押しても同じです。"),
             QStringLiteral("入力欄に数値を直接入力したときは、Enterキーを押すか別の欄に移ったときに"
                            "反映されます。範囲外の数値は範囲内に収められます。"),
             QStringLiteral("文字サイズ、余白、線の太さも、同じようにスピンボタンで調整できます。"),
             QStringLiteral("金額にはスピンボタンはありません。入力、貼り付け、または次の"
                            "ドラッグ＆ドロップで変更します。"),
         }},
        {QStringLiteral(" (2) ドラッグ＆ドロップによる調整"),
         {
             QStringLiteral("図表の中の可動線・点は、マウスでドラッグして動かせます。"
                            "マウスカーソルを合わせると、カーソルが左右または上下の矢印に"
                            "変わります。"),
             QStringLiteral("動かせるものと、変わる値は次のとおりです。"),
             QStringLiteral("  外枠の上辺と右辺：最大売上高"),
             QStringLiteral("  固定費線：固定費"),
             QStringLiteral("  目標売上高の線：目標売上高"),
             QStringLiteral("  総費用線の右端：変動費率"),
             QStringLiteral("  限界利益線の右端：変動費率(限界利益率として表示)"),
             QStringLiteral("目標売上高と固定費は、最大売上高の1,000分の1から最大売上高までの"
                            "範囲でセットされます。"),
         }},
        {QStringLiteral(" (3) 可動線または点の明示"), hold},
        {QStringLiteral(" (4) ドラッグの中止"),
         {
             DragValueLine(),
             QStringLiteral("マウスのボタンを離すと、その値がセットされます。"),
             QStringLiteral("値が表示されない図表の外でボタンを離すと、値は変わらずに"
                            "ドラッグが中止されます。"),
             EscCancelLine(),
         }},
        {QStringLiteral(" (5) 小数点以下の表示"), DecimalLines()},
    };
}

// --- Page 1: batch creation ----------------------------------------------------------

QList<Section> BatchPage()
{
    QStringList csvFormat = {
        QStringLiteral("全般説明の「CSVファイルの出力仕様」と同じ形式です。"),
        QStringLiteral("個別フォルダ方式では、各フォルダに「BEP.csv」が1つずつ作られます。"),
        QStringLiteral("全部一緒方式では、「BEP」フォルダに「BEP.csv」が1つだけ作られ"
                       "(すでにあるときは上書きされます)、第1レコードの項目名に続いて、"
                       "レコードごとに値が1行ずつ出力されます。ファイル名の列には、"
                       "先頭に第1フィールドと「_」が付いた名前が出力されます。"),
    };
    csvFormat += CsvSampleLines();

    QStringList imageFormat = {QStringLiteral("全般説明と同じです。")};
    imageFormat += ImageFileLines();

    return {
        {QStringLiteral("【一括作成の説明】"), {}},
        {QStringLiteral("1 一括作成とは"),
         {
             QStringLiteral("多くの事業や商品の金額などをCSVファイルから読み取り、"
                            "1行(1レコード)ごとに図表を描いて、ファイルに保存する機能です。"),
             QStringLiteral("レコードごとに、3種類の図表とその値を記録したCSVファイルが"
                            "出力されます。"),
             QStringLiteral("図表は、上部で設定したタイトル、色、太さ、文字サイズ、余白、"
                            "金額単位で描かれ、外部出力で選んだ形式で保存されます。"),
             HelpToggleLine(),
         }},
        {QStringLiteral("2 一括作成の手順"), {}},
        {QStringLiteral(" (1) CSVファイルの準備"),
         {
             QStringLiteral("1行に1レコードとして、次の5つのフィールドをコンマ(,)で区切って"
                            "並べます。"),
             QStringLiteral("  保存フォルダ名,最大売上高,目標売上高,固定費,変動費率"),
             QStringLiteral("  (例) 事業または商品名,90000000,70000000,44000000,25.03"),
             QStringLiteral("金額は円単位で、桁区切りのコンマを付けずに書きます。"
                            "フィールドを「\"」で囲むことはできません。"),
             QStringLiteral("見出し行は付けないでください。すべての行がレコードとして"
                            "読み込まれます。空の行もフィールドが足りないレコードとして"
                            "扱われます。"),
             QStringLiteral("1つのファイルで作成できるのは5,000レコード(5,000行)までです。"
                            "これを超えるときは、何も出力せずに終了します。"),
             QStringLiteral("文字コードは、UTF-8として正しいファイル(先頭のBOMは無視します)は"
                            "UTF-8として、それ以外はShift-JIS(CP932)として読み込みます。"),
         }},
        {QStringLiteral("  ア 第1フィールド"),
         {
             QStringLiteral("保存フォルダ名です。個別フォルダ方式ではフォルダの名前に、"
                            "全部一緒方式ではファイル名の先頭に使われます。"),
             QStringLiteral("すべてのレコードで重ならない名前にしてください。同じ名前があると、"
                            "先に作ったファイルが上書きされることがあります。"),
             QStringLiteral("フォルダ名として使える名前にしてください。「/」を含む名前や、"
                            "「.」「..」はフォルダ名に使えないため、個別フォルダ方式では"
                            "そのレコードで処理が終了します。全部一緒方式では、「/」を含む"
                            "名前のレコードの図表は保存されません。"),
         }},
        {QStringLiteral("  イ 第2フィールド"),
         {
             QStringLiteral("最大売上高です。空欄(0)にすることができます。"),
             QStringLiteral("空欄(0)のときは、損益分岐点と目標売上高の大きい方に両者の差を"
                            "加えた額が使われます。目標売上高が損益分岐点を上回るときは、"
                            "「損益分岐点＋目標営業利益×2」です。"),
             QStringLiteral("最大売上高が目標売上高または固定費より小さいときは、メッセージが"
                            "表示され、そのレコードは処理されません。"),
         }},
        {QStringLiteral("  ウ 第3フィールド以下"),
         {
             QStringLiteral("第3フィールドは目標売上高、第4フィールドは固定費、"
                            "第5フィールドは変動費率です。"),
             QStringLiteral("目標売上高は空欄(0)にできません。空欄(0)のときはメッセージが"
                            "表示され、そのレコードは処理されません。"),
             QStringLiteral("固定費と変動費率は0でもかまいません。"),
             QStringLiteral("数値として読めないフィールドは0とみなされます。"),
         }},
        {QStringLiteral("  エ 第5フィールド"),
         {
             QStringLiteral("変動費率を0～100のパーセントで指定します(例：25.03は25.03%)。"),
             QStringLiteral("小数点以下は2桁まで使われ、3桁目以下は切り捨てられます。"),
         }},
        {QStringLiteral(" (2) CSVファイルを読み取らせて実行"),
         {
             QStringLiteral("「CSV指定後、作成実行」ボタンをクリックしてCSVファイルを選ぶか、"
                            "CSVファイルをこのボタンの上にドラッグ＆ドロップすると始まります。"
                            "ドロップできるのは、名前が「.csv」で終わるファイル1つだけです。"),
             QStringLiteral("始めに、1レコードを1フォルダに保存するかどうかをたずねるメッセージが"
                            "表示されます。「はい」で個別フォルダ方式、「いいえ」で全部一緒方式"
                            "となり、「キャンセル」で中止します。"),
             QStringLiteral("実行中は図表が1つずつ画面に表示され、個別フォルダ方式では"
                            "進み具合がボタンの下のバーに表示されます。"
                            "実行中に中止することはできません。"),
             QStringLiteral("正常に終わると、保存場所を表示するかどうかをたずねるメッセージが"
                            "表示され、「はい」で「BEP」フォルダが開きます。"),
             QStringLiteral("終了後は、最後のレコードの金額と変動費率が上部にセットされ、"
                            "3つの図表がすべて表示されます。それまでの金額は置き換わります。"),
         }},
        {QStringLiteral(" (3) 出力仕様"),
         {
             QStringLiteral("レコードごとにフォルダを作る個別フォルダ方式と、まとめて保存する"
                            "全部一緒方式があります。"),
             QStringLiteral("どちらの方式でも、デスクトップの「BEP」フォルダの中に保存されます。"
                            "「BEP」フォルダがないときは自動で作られます。"),
         }},
        {QStringLiteral("   ア 保存場所"), {}},
        {QStringLiteral("    (ア) 個別フォルダ方式"),
         {
             QStringLiteral("「BEP」フォルダの中に、第1フィールドの名前のフォルダをレコードごとに"
                            "作り、CSVファイル1つと図表のファイル3つを保存します。"),
             QStringLiteral("同じ名前のフォルダがすでにあるときは、処理を続けるかどうかを"
                            "たずねるメッセージが表示されます。「はい」を選ぶと、その回の"
                            "一括作成ではそれ以降たずねずに上書きします。「いいえ」を選ぶと"
                            "処理を終了します。"),
             QStringLiteral("エラーのあったレコードで処理が終了します。それより前のレコードの"
                            "ファイルはそのまま残ります。"),
         }},
        {QStringLiteral("    (イ) 全部一緒方式"),
         {
             QStringLiteral("フォルダを作らずに、すべてのファイルを「BEP」フォルダに直接"
                            "保存します。"),
             QStringLiteral("図表のファイル名の先頭に、第1フィールドと「_」が付きます"
                            "(例：事業または商品名_損益分岐点図表.png)。"),
             QStringLiteral("エラーのあったレコードは飛ばして、次のレコードに進みます。"),
         }},
        {QStringLiteral("   イ CSVファイルの出力仕様"), csvFormat},
        {QStringLiteral("   ウ イメージファイルの出力仕様"), imageFormat},
    };
}

// --- Page 2: presentation mode -------------------------------------------------------

QList<Section> PresentationPage()
{
    QStringList adjust = {
        QStringLiteral("全般説明と同じように、図表の中の可動線・点をドラッグして、金額や"
                       "変動費率を変えられます。カーソルが左右または上下の矢印に変わる所で"
                       "ドラッグします。"),
        DragValueLine(),
        QStringLiteral("プレゼンモードでは画面全体が図表の範囲なので、どこでマウスのボタンを"
                       "離しても値がセットされます。"),
        QStringLiteral("指示棒を表示している間は、ドラッグはできません。"),
    };

    return {
        {QStringLiteral("【プレゼンモードの説明】"), {}},
        {QStringLiteral("1 プレゼンモードとは"),
         {
             QStringLiteral("画面下部の図表を、画面全体に大きく表示するモードです。"
                            "会議や説明会で図表を見せながら説明するときに使います。"),
             QStringLiteral("プレゼンモードで変えた図表の表示、文字サイズ、金額単位、金額や"
                            "変動費率は、終了後もそのまま引き継がれます。"),
             HelpToggleLine(),
         }},
        {QStringLiteral("2 モードの開始"),
         {
             QStringLiteral("メイン画面の右上にある、モニターの絵のボタンをクリックするか、"
                            "F11キーを押します。"),
         }},
        {QStringLiteral("3 モードの終了"),
         {
             QStringLiteral("ボタンメニューの一番右のボタンをクリックするか、F11キーを押します。"),
             QStringLiteral("ドラッグ中でなければEscキーでも終了します。右クリックで表示される"
                            "メニューの「プレゼンモード終了」でも終了できます。"),
         }},
        {QStringLiteral("4 ボタンメニュー"),
         {
             QStringLiteral("マウスを画面の右下に移動するとボタンメニューが表示され、"
                            "離れると消えます。開始から5秒間は、マウスの位置に関係なく"
                            "表示されます。"),
             QStringLiteral("ボタンは左から順に次の7つです。マウスを合わせるとボタンが色付きに"
                            "なって説明が表示され、クリックするとその働きをします。"),
             QStringLiteral("  図表1：1番目の図表(損益分岐点図表)の表示/非表示(F1)"),
             QStringLiteral("  図表2：2番目の図表(損益分岐点指数図表)の表示/非表示(F2)"),
             QStringLiteral("  図表3：3番目の図表(損益分岐点・指数図表)の表示/非表示(F3)"),
             QStringLiteral("  指示棒：指示棒の表示/非表示"),
             QStringLiteral("  消去：書き込んだ線や文字を消す(C、Delete)"),
             QStringLiteral("  色変更：書き込みの色を選ぶ"),
             QStringLiteral("  終了：プレゼンモードを終了する(Esc、F11)"),
             QStringLiteral("右クリックで表示されるメニューの「右下にメニューを常に表示」に"
                            "チェックを付けると、ボタンメニューが常に表示されます。"
                            "このメニューでは、文字の大きさや金額単位(千円)も変えられます。"),
         }},
        {QStringLiteral("5 図表の表示切替え"),
         {
             QStringLiteral("ボタンメニューの図表のボタン、またはF1～F3キーで、それぞれの図表の"
                            "表示と非表示が切り替わります。"),
             QStringLiteral("表示されている図表が、画面の幅を分け合って表示されます。"),
         }},
        {QStringLiteral("6 指示棒"),
         {
             QStringLiteral("ボタンメニューの指示棒のボタンをクリックすると、マウスカーソルの"
                            "代わりに指示棒が表示されます。もう一度クリックすると、"
                            "元のカーソルにもどります。"),
             QStringLiteral("指示棒では、次のことができます。"),
         }},
        {QStringLiteral(" (1) 伸縮"),
         {
             QStringLiteral("指示棒の長さは3段階です。"),
             QStringLiteral("マウスのホイールを手前に回すと長く、奥に回すと短くなります。"),
             QStringLiteral("テンキーの「+」か「↑」キーで長く、テンキーの「-」か「↓」キーで"
                            "短くなります。"),
         }},
        {QStringLiteral(" (2) ポインティング"),
         {
             QStringLiteral("クリックすると、指示棒の先に波状の模様が表示され、"
                            "指している所を目立たせることができます。"),
             QStringLiteral("模様は、マウスを動かすかボタンを離すと消えます。"),
         }},
        {QStringLiteral(" (3) 書き込み"),
         {
             QStringLiteral("マウスのボタンを押したまま動かすと、線や文字を書き込めます。"),
             QStringLiteral("書き込んだ線は、消去ボタン、またはCキーかDeleteキーで消せます。"
                            "図表の表示を切り替えたときなど、画面が描き直されたときにも"
                            "消えます。"),
             QStringLiteral("線の色は、色変更ボタンで変えられます。選んだ色は次回も使われます。"),
         }},
        {QStringLiteral("7 金額および変動費率の調整"), adjust},
        {QStringLiteral(" (1) 可動線または点の明示"), {CtrlClickLine()}},
        {QStringLiteral(" (2) ドラッグの中止"), {EscCancelLine()}},
        {QStringLiteral(" (3) 小数点以下の表示"), DecimalLines()},
        {QStringLiteral("8 その他"), {}},
        {QStringLiteral(" (1) 文字サイズの変更"),
         {
             QStringLiteral("Ctrlキーを押しながらマウスのホイールを回すと、図表の文字の大きさが"
                            "変わります。手前に回すと小さく、奥に回すと大きくなります"
                            "(5～50ポイント)。"),
             QStringLiteral("右クリックで表示されるメニューの「文字を少し大きく」"
                            "「文字を少し小さく」でも変えられます。"),
         }},
    };
}

} // namespace

QString HelpPageText(int kind)
{
    switch (kind) {
    case kHelpGeneral:
        return Render(GeneralPage());
    case kHelpBatch:
        return Render(BatchPage());
    case kHelpPresentation:
        return Render(PresentationPage());
    default:
        return QString();
    }
}

} // namespace brevant
