#include "string_table.h"

#include <QHash>

namespace brevant {

namespace {

const QHash<int, QString>& Table()
{
    static const QHash<int, QString> table = {
        {30001, QStringLiteral("メモリの確保に失敗しました")},
        {30002, QStringLiteral("作業フォルダの取得に失敗しました")},
        {30003, QStringLiteral("ＰＤＦの作成に失敗しました")},
        {30004, QStringLiteral("複数のファイルは処理できません")},
        {30005, QStringLiteral("指定したファイルは既に存在します\n上書きしてもよろしいですか")},
        {30006, QStringLiteral("CSVファイル以外は処理できません")},
        {30007, QStringLiteral("ファイルオブジェクトの作成に失敗しました")},
        {30009, QStringLiteral("ファイルのオープン失敗しました")},
        {30010, QStringLiteral("ファイルの中にセット可能なデータがありません")},
        {30011, QStringLiteral("フィールド数が5個ありません")},
        {30012, QStringLiteral("同名のフォルダが既に存在します\n上書きされることがありますが、処理を継続しますか")},
        {30013, QStringLiteral("タイトルが同じ図表があり上書きされますので、出力を中止します")},
        {30014, QStringLiteral("値に0を設定することはできません")},
        {30015, QStringLiteral("最大売上高は、目標売上高よりも大きくなければ処理できません")},
        {30016, QStringLiteral("最大売上高は、固定費よりも大きくなければ処理できません")},
        {30018, QStringLiteral("すべての色の設定をデフォルトに戻してもよろしいですか")},
        {30019, QStringLiteral("クリップボードに保存しました")},
        {30020, QStringLiteral("デスクトップへのフォルダ作成に失敗しました")},
        {30021, QStringLiteral("この値を、最大売上高, 目標売上高, 固定費, 変動費率 にセットしてもよろしいですか")},
        {30022, QStringLiteral("設定できる金額は2,147,483,647円までです\n2,147,483,647円として計算します")},
        {30023, QStringLiteral("1レコードを1フォルダに保存しますか\n個別にフォルダを作成せずに保存する-「いいえ」\n中止-「キャンセル」")},
        {30048, QStringLiteral("エクスプローラの起動に失敗しました")},
        {30049, QStringLiteral("正常に保存しました\n保存場所を表示しますか")},
        {30050, QStringLiteral("見出しの行は読み込みません\nCSVファイルには見出しを付けず、データの行だけを入れてください")},
        {30051, QStringLiteral("前のレコードと同じ名前のファイルになるため、このレコードは保存しません\n1列目の名前を、ほかのレコードと重ならない名前にしてください\n(ファイル名に使えない文字は「_」になります)")},
        {30052, QStringLiteral("上のレコードは保存できなかったため、BEP.csvに含まれていません\n一括作成は終了し、ほかのレコードは保存しました\n保存先の空き容量と、同じ名前のファイルやフォルダがないかを確認してください")},
        {30060, QStringLiteral("シナリオファイルとして読み込めません（JSONの形式ではありません）\n損益分岐点シミュレータで保存した .brevant ファイルを開いてください")},
        {30061, QStringLiteral("このファイルはシナリオファイルの形式ではありません\n損益分岐点シミュレータで保存した .brevant ファイルを開いてください")},
        {30062, QStringLiteral("このシナリオファイルは新しい版で保存されたため、読み込めません\nプログラムを新しい版に更新してください")},
        {30063, QStringLiteral("シナリオファイルに最大売上高、目標売上高、固定費、変動費率のいずれかがないか、数値ではありません\nファイルの figures の4つの値を確認してください")},
        {30064, QStringLiteral("シナリオファイルを保存できませんでした\n保存先のフォルダ、空き容量、書き込みの権限を確認してください")},
        {30065, QStringLiteral("このシナリオファイルの変更は保存されていません\n変更を保存しますか\n保存しないで続ける-「いいえ」\n中止-「キャンセル」")},
        {30164, QStringLiteral("作成可能な最大数(5,000件)を超えます")},
        {30200, QStringLiteral("Ver. 1.00 2014.09.15 新規作成")},
        {30201, QStringLiteral("Ver. 1.01 2014.11.06 金額のセット方法などを改良")},
        {30202, QStringLiteral("Ver. 1.02 2022.11.14 Windows 11対応")},
        {57344, QStringLiteral("Brevant")},
    };
    return table;
}

} // namespace

std::optional<QString> LoadStringEntry(int id)
{
    const auto& table = Table();
    const auto it = table.constFind(id);
    if (it == table.cend())
        return std::nullopt;
    return *it;
}

QString AppName()
{
    return *LoadStringEntry(IDS_APP_NAME);
}

} // namespace brevant
