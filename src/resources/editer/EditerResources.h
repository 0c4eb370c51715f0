// Resource, control and menu identifiers of the script editor window (range 5000-5999).
#pragma once

#define IDB_EDITER_IMAGES 5001  // mImageList: a strip of 16 x 16 pictures, magenta (255, 0, 255) is transparent
#define IMG_EDITER_SAVE 0
#define IMG_EDITER_CLOSE 1

// Controls.
#define IDC_SE_BEVEL1 5100
#define IDC_SE_SCRIPT 5101  // edtScript
#define IDC_SE_SAVE 5102    // btnSave
#define IDC_SE_QUIT 5103    // btnQuit
#define IDC_SE_STATUS 5104  // barStatus

// Main menu.
#define IDM_SE_SAVE 5200
#define IDM_SE_QUIT 5201
#define IDM_SE_UNDO 5202
#define IDM_SE_CUT 5203
#define IDM_SE_COPY 5204
#define IDM_SE_PASTE 5205
#define IDM_SE_DELETE 5206
#define IDM_SE_SELECTALL 5207
#define IDM_SE_TAGFULLPATH 5208
#define IDM_SE_TAGFOLDER 5209
#define IDM_SE_TAGFILENAME 5210
#define IDM_SE_TAGEXT 5211
#define IDM_SE_TAGNUMBER 5212

// Pop-up menu of edtScript.
#define IDM_SE_PUNDO 5250
#define IDM_SE_PCUT 5251
#define IDM_SE_PCOPY 5252
#define IDM_SE_PPASTE 5253
#define IDM_SE_PDELETE 5254
