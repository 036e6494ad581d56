// What the Game Controllers control panel does with a device's own property
// sheet, under a caller's control: find it through the OEM type's
// "ConfigCLSID", create it, give it the joystick id and show its pages with
// the common controls' PropertySheet, modeless, so the caller can drive it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "panel/GameCntrlPropSheet.h"

namespace cplhost {

struct DismissedBox {
    std::string Caption;
    std::string Text;
};

class SheetHost {
public:
    SheetHost();
    ~SheetHost();
    SheetHost(const SheetHost&) = delete;
    SheetHost& operator=(const SheetHost&) = delete;

    // Creates the sheet object named by the pad type's "ConfigCLSID" and
    // shows it at page 0. False with a reason on any failure.
    bool Open(const std::string& typeName, USHORT joystickId, std::string* error);
    // Shows a sheet object the caller made, taking a reference of its own.
    bool OpenObject(IDIGameCntrlPropSheet* object, USHORT joystickId, std::string* error);

    // Runs the message loop for `ms` (or until the sheet finishes).
    void Pump(DWORD ms);
    // True while the sheet shows a page.
    bool IsOpen() const { return sheet_ != nullptr; }

    bool SelectPage(int index);
    void Click(int x, int y);
    void Press(int x, int y);
    void Release(int x, int y);
    void Move(int x, int y);
    void Apply();
    void Ok();
    void Cancel();

    // The sheet window as a PNG.
    bool Screenshot(const std::string& path, std::string* error);

    HWND Window() const { return sheet_; }
    HWND CurrentPage() const;
    int CurrentPageIndex() const;
    IDIGameCntrlPropSheet* Object() const { return object_; }

    // Message boxes the sheet showed; the host answers each with OK.
    const std::vector<DismissedBox>& Boxes() const { return boxes_; }

    // While held, a WM_CLOSE sent or posted to the sheet is counted and kept
    // from it, so what a page did before closing its sheet can be seen on
    // its own. PassClose hands the sheet one WM_CLOSE regardless.
    void HoldCloses(bool hold) { holdCloses_ = hold; }
    int HeldCloses() const { return heldCloses_; }
    void PassClose();

    // Destroys the window if it is still up and releases the object.
    void Close();

private:
    static void CALLBACK WatchBoxes(HWND, UINT, UINT_PTR, DWORD);
    static LRESULT CALLBACK SheetSubclass(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    void DismissBoxes();
    HICON LoadSmallIcon(HINSTANCE module, LPCWSTR name);
    void FinishIfDone();

    IDIGameCntrlPropSheet* object_ = nullptr;
    HWND sheet_ = nullptr;
    UINT_PTR watch_ = 0;
    std::vector<DismissedBox> boxes_;
    std::vector<HWND> answered_;
    std::vector<HICON> icons_;  // the sheet's and the pages' icons, destroyed with it
    bool holdCloses_ = false;
    bool passing_ = false;
    int heldCloses_ = 0;
};

}  // namespace cplhost
