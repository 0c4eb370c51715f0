// The SDI notice: how to switch AutoCAD to single-document mode, which the batch run needs.
#pragma once

#include "forms/Form.h"
#include "win/WinHandles.h"

class TdspSDIExp : public Form {
public:
    using Form::handle;  // the window handle, not hidden by the message handler below
    TdspSDIExp();

    enum : int { kImgOptions = 1200, kLabel1, kLabel2, kLabel3, kLabel4, kBevel, kBtnClose };

    void btnCloseClick();

protected:
    // Loads the picture and makes itself the notice that the batch run shows.
    void FormCreate() override;
    // Centred on the screen at every showing.
    void FormShow() override;
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    win::UniqueBitmap picture_;
};
