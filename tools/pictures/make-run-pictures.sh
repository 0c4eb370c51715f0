#!/usr/bin/env bash
# Draws the pictures of the SDI notice and the version window with ImageMagick and the IPA Gothic font
# (both installed by scripts/setup) and writes them as 24-bit BMP files for the resource compiler.
# Run it after changing a drawing: tools/pictures/make-run-pictures.sh
set -euo pipefail
cd "$(dirname "$0")/../.."
out=src/resources/run_dialogs
font=/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf
bold=/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf
mkdir -p "$out"

face='#ECE9D8'      # dialog face
shadow='#ACA899'
dark='#716F64'
title1='#0A246A'
title2='#3A6EA5'
red='#E00000'

# --- AutoCAD's options dialog at its system tab, 450 x 300, with call-outs 1 (the tab) and 2 (the box) ---
tabs=(ファイル 表示 開く/保存 印刷 システム 基本設定 作図補助 選択 プロファイル)
tab_x=8
tab_draw=()
sys_x0=0 sys_x1=0
for t in "${tabs[@]}"; do
    w=$(( ${#t} * 9 + 8 ))
    if [ "$t" = システム ]; then
        sys_x0=$tab_x sys_x1=$((tab_x + w))
        tab_draw+=(-fill "$face" -stroke white -draw "rectangle $tab_x,31 $((tab_x + w)),50")
        tab_draw+=(-stroke none -fill black -draw "text $((tab_x + 4)),45 '$t'")
    else
        tab_draw+=(-fill "$face" -stroke white -draw "rectangle $tab_x,34 $((tab_x + w)),50")
        tab_draw+=(-stroke "$shadow" -draw "line $((tab_x + w)),35 $((tab_x + w)),49")
        tab_draw+=(-stroke none -fill black -draw "text $((tab_x + 4)),47 '$t'")
    fi
    tab_x=$((tab_x + w + 1))
done

checkbox() {  # x y checked label
    local x=$1 y=$2
    cb_draw+=(-fill white -stroke "$dark" -draw "rectangle $x,$y $((x + 9)),$((y + 9))")
    if [ "$3" = 1 ]; then
        cb_draw+=(-stroke black -strokewidth 2 -draw "polyline $((x + 2)),$((y + 5)) $((x + 4)),$((y + 7)) $((x + 8)),$((y + 2))" -strokewidth 1)
    fi
    cb_draw+=(-stroke none -fill black -draw "text $((x + 14)),$((y + 9)) '$4'")
}
cb_draw=()
checkbox 240 132 1 単一互換図面モード
checkbox 240 148 0 起動時ダイアログを表示
checkbox 240 164 1 "長いシンボル名を許可"
checkbox 240 180 0 "OLE 文字の大きさダイアログを表示"
checkbox 240 196 1 "ユーザ入力エラーで警告音を鳴らす"

convert -size 450x300 xc:"$face" -font "$font" -pointsize 11 \
    -fill "$title1" -draw "rectangle 0,0 449,17" \
    -fill "$title2" -draw "rectangle 225,0 449,17" \
    -fill white -pointsize 12 -draw "text 6,13 'オプション'" \
    -fill "$face" -stroke "$dark" -draw "rectangle 430,3 444,14" \
    -stroke black -draw "line 434,5 440,12" -draw "line 440,5 434,12" -stroke none \
    -pointsize 10 -fill black -draw "text 8,29 '現在のプロファイル:  <<名前のないプロファイル>>'" -pointsize 11 \
    -fill "$face" -stroke white -draw "rectangle 6,50 443,262" \
    -stroke "$dark" -draw "line 443,50 443,262" -draw "line 6,262 443,262" -stroke none \
    "${tab_draw[@]}" \
    -fill none -stroke "$shadow" -draw "rectangle 14,62 224,120" -draw "rectangle 14,130 224,196" \
    -draw "rectangle 232,62 436,120" -draw "rectangle 232,124 436,214" -draw "rectangle 14,204 224,254" \
    -stroke none -fill "$face" \
    -draw "rectangle 20,57 170,67" -draw "rectangle 20,125 160,135" -draw "rectangle 238,57 330,67" \
    -draw "rectangle 238,119 310,129" -draw "rectangle 20,199 140,209" \
    -fill black -draw "text 22,66 '現在の 3D グラフィックス ディスプレイ'" \
    -draw "text 22,134 '現在のポインティング デバイス'" \
    -draw "text 240,66 'レイアウト再作成オプション'" \
    -draw "text 240,128 '一般オプション'" \
    -draw "text 22,208 'dbConnect オプション'" \
    -fill white -stroke "$dark" -draw "rectangle 22,78 200,94" -draw "rectangle 22,146 200,162" \
    -stroke none -fill black -draw "text 26,90 'GSHEIDI10'" -draw "text 26,158 '現在のシステム デバイス'" \
    -fill "$face" -stroke "$dark" -draw "rectangle 120,98 216,114" -stroke none -fill black -draw "text 130,110 'プロパティ(P)...'" \
    -fill white -stroke "$dark" -draw "circle 245,81 249,81" -draw "circle 245,97 249,97" -draw "circle 245,113 249,113" \
    -fill black -stroke none -draw "circle 245,81 247,81" \
    -draw "text 254,85 'レイアウト切り替え時に再作成'" -draw "text 254,101 '図面を開くときに再作成'" \
    -draw "text 254,117 'キャッシュしない'" \
    "${cb_draw[@]}" \
    -fill "$face" -stroke white -draw "rectangle 176,270 236,292" -draw "rectangle 242,270 302,292" \
    -draw "rectangle 308,270 368,292" -draw "rectangle 374,270 434,292" -stroke none -fill black \
    -draw "text 199,285 'OK'" -draw "text 247,285 'キャンセル'" -draw "text 320,285 '適用(A)'" \
    -draw "text 381,285 'ヘルプ(H)'" \
    -fill none -stroke "$red" -strokewidth 2 \
    -draw "rectangle $((sys_x0 - 2)),29 $((sys_x1 + 2)),52" \
    -draw "rectangle 236,129 360,144" \
    -draw "line $(( (sys_x0 + sys_x1) / 2 )),53 $(( (sys_x0 + sys_x1) / 2 + 20 )),80" \
    -draw "line 236,137 200,176" \
    -fill "$red" -stroke white -strokewidth 2 \
    -draw "circle $(( (sys_x0 + sys_x1) / 2 + 26 )),88 $(( (sys_x0 + sys_x1) / 2 + 26 )),77" \
    -draw "circle 194,184 194,173" \
    -stroke none -fill white -font "$bold" -pointsize 16 \
    -draw "text $(( (sys_x0 + sys_x1) / 2 + 21 )),94 '1'" -draw "text 189,190 '2'" \
    -type TrueColor BMP3:"$out/sdi-options.bmp"

# --- the version window's banner: the product name in Latin letters under a canopy, 300 x 64 ---
convert -size 300x64 xc:white \
    -fill '#2E8B57' -stroke none -draw "ellipse 150,40 120,30 180,360" \
    -fill white -draw "ellipse 150,46 108,24 180,360" \
    -fill '#1F5F99' -stroke '#1F5F99' -strokewidth 1 -font "$font" -pointsize 36 -gravity center \
    -draw "text 0,10 'Canopia'" \
    -type TrueColor BMP3:"$out/about-banner.bmp"

# --- the small program picture: a drawing sheet under a green canopy, 40 x 40 ---
convert -size 40x40 xc:white \
    -fill white -stroke '#1F5F99' -strokewidth 2 -draw "rectangle 8,16 32,37" \
    -stroke '#1F5F99' -strokewidth 1 -draw "line 12,22 28,22" -draw "line 12,27 28,27" -draw "line 12,32 22,32" \
    -stroke none -fill '#2E8B57' -draw "ellipse 20,16 18,12 180,360" \
    -fill white -draw "ellipse 20,16 12,6 180,360" \
    -type TrueColor BMP3:"$out/about-program.bmp"

echo "make-run-pictures: wrote $out/sdi-options.bmp, about-banner.bmp, about-program.bmp"
