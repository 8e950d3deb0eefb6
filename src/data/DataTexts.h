#pragma once
// Fixed texts that the data files hold, as the Shift_JIS bytes written to
// disk. The readable text of each is in its comment.
namespace DataTexts {
inline constexpr char kToiFileName[] = "toi_dq_basic3.dat";
inline constexpr char kNanwidoFileName[] = "db_nanwido.dat";
inline constexpr char kSeikaiFileName[] = "db_1toi_pr.dat";
inline constexpr char kSaveLoadFileName[] = "db_save_load.dat";

inline constexpr char kToiKey[] = "\x96\xE2\x83\x4C\x81\x5B";                                   // 問キー
inline constexpr char kToiSeikaiCount[] = "\x82\xBB\x82\xCC\x96\xE2\x82\xCC\x90\xB3\x89\xF0\x90\x94"; // その問の正解数

inline constexpr char kHeadPlayMode[] = "\x83\x76\x83\x8C\x83\x43\x83\x82\x81\x5B\x83\x68";  // プレイモード
inline constexpr char kHeadToiList[] = "\x8F\x6F\x91\xE8\x83\x8A\x83\x58\x83\x67";          // 出題リスト
inline constexpr char kHeadToiIndex[] = "\x96\xE2\x94\xD4\x8D\x86";                          // 問番号
inline constexpr char kHeadStageTable[] =                                                    // ステージごとのプレイ内容テーブル
    "\x83\x58\x83\x65\x81\x5B\x83\x57\x82\xB2\x82\xC6\x82\xCC\x83\x76\x83\x8C\x83\x43\x93\xE0\x97\x65\x83\x65\x81\x5B\x83\x75\x83\x8B";
inline constexpr char kHeadEmpty[] = "\x8B\xF3\x83\x66\x81\x5B\x83\x5E\x82\xA9\x82\xC7\x82\xA4\x82\xA9"; // 空データかどうか
inline constexpr char kHeadDate[] = "\x93\xFA\x95\x74";                                      // 日付
inline constexpr char kHeadNanwido[] = "\x93\xEF\x88\xD5\x93\x78";                           // 難易度
inline constexpr char kHeadNokori[] = "\x8E\x63\x82\xE8\x90\x94";                            // 残り数
inline constexpr char kNewData[] = "\x90\x56\x8B\x4B\x83\x66\x81\x5B\x83\x5E";               // 新規データ

inline constexpr char kStageSeikai[] = "\x82\xBB\x82\xCC\x83\x58\x83\x65\x81\x5B\x83\x57\x82\xCC\x90\xB3\x89\xF0\x90\x94"; // そのステージの正解数
inline constexpr char kStageToi[] = "\x82\xBB\x82\xCC\x83\x58\x83\x65\x81\x5B\x83\x57\x82\xCC\x96\xE2\x90\x94";             // そのステージの問数

inline constexpr char kPlayNormal[] = "NORMAL";
inline constexpr char kPlayRand[] = "RAND";

// Markers inside cells.
inline constexpr char kLineMarker[] = "<$>";
inline constexpr char kListMarker[] = "<%>";
} // namespace DataTexts
