#pragma once

// DirectDraw result codes for the non-Windows build. On Windows <ddraw.h>
// provides these; here the including header has already declared HRESULT
// (a 32-bit signed integer) before pulling this file in.

#include <cstdint>

#include "platform/win32/win32_types.h"

namespace ddraw_results_detail {

// MAKE_HRESULT(1, 0x876, code): severity bit set, DirectDraw facility.
constexpr HRESULT makeDDResult(std::uint32_t code) { return static_cast<HRESULT>(0x8876'0000u | code); }

}  // namespace ddraw_results_detail

// Generic COM results.
constexpr HRESULT S_OK = 0;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x8000'4001u);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x8000'4005u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007'000Eu);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x8007'0057u);
constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x8004'01F0u);

constexpr HRESULT DD_OK = S_OK;

// DirectDraw reuses these generic codes instead of minting its own.
constexpr HRESULT DDERR_GENERIC = E_FAIL;
constexpr HRESULT DDERR_INVALIDPARAMS = E_INVALIDARG;
constexpr HRESULT DDERR_OUTOFMEMORY = E_OUTOFMEMORY;
constexpr HRESULT DDERR_UNSUPPORTED = E_NOTIMPL;
constexpr HRESULT DDERR_NOTINITIALIZED = CO_E_NOTINITIALIZED;

// Codes in the DirectDraw facility.
constexpr HRESULT DDERR_ALREADYINITIALIZED = ddraw_results_detail::makeDDResult(5);
constexpr HRESULT DDERR_CANNOTATTACHSURFACE = ddraw_results_detail::makeDDResult(10);
constexpr HRESULT DDERR_CANNOTDETACHSURFACE = ddraw_results_detail::makeDDResult(20);
constexpr HRESULT DDERR_CURRENTLYNOTAVAIL = ddraw_results_detail::makeDDResult(40);
constexpr HRESULT DDERR_EXCEPTION = ddraw_results_detail::makeDDResult(55);
constexpr HRESULT DDERR_HEIGHTALIGN = ddraw_results_detail::makeDDResult(90);
constexpr HRESULT DDERR_INCOMPATIBLEPRIMARY = ddraw_results_detail::makeDDResult(95);
constexpr HRESULT DDERR_INVALIDCAPS = ddraw_results_detail::makeDDResult(100);
constexpr HRESULT DDERR_INVALIDCLIPLIST = ddraw_results_detail::makeDDResult(110);
constexpr HRESULT DDERR_INVALIDMODE = ddraw_results_detail::makeDDResult(120);
constexpr HRESULT DDERR_INVALIDOBJECT = ddraw_results_detail::makeDDResult(130);
constexpr HRESULT DDERR_INVALIDPIXELFORMAT = ddraw_results_detail::makeDDResult(145);
constexpr HRESULT DDERR_INVALIDRECT = ddraw_results_detail::makeDDResult(150);
constexpr HRESULT DDERR_LOCKEDSURFACES = ddraw_results_detail::makeDDResult(160);
constexpr HRESULT DDERR_NO3D = ddraw_results_detail::makeDDResult(170);
constexpr HRESULT DDERR_NOALPHAHW = ddraw_results_detail::makeDDResult(180);
constexpr HRESULT DDERR_NOSTEREOHARDWARE = ddraw_results_detail::makeDDResult(181);
constexpr HRESULT DDERR_NOSURFACELEFT = ddraw_results_detail::makeDDResult(182);
constexpr HRESULT DDERR_NOCLIPLIST = ddraw_results_detail::makeDDResult(205);
constexpr HRESULT DDERR_NOCOLORCONVHW = ddraw_results_detail::makeDDResult(210);
constexpr HRESULT DDERR_NOCOOPERATIVELEVELSET = ddraw_results_detail::makeDDResult(212);
constexpr HRESULT DDERR_NOCOLORKEY = ddraw_results_detail::makeDDResult(215);
constexpr HRESULT DDERR_NOCOLORKEYHW = ddraw_results_detail::makeDDResult(220);
constexpr HRESULT DDERR_NODIRECTDRAWSUPPORT = ddraw_results_detail::makeDDResult(222);
constexpr HRESULT DDERR_NOEXCLUSIVEMODE = ddraw_results_detail::makeDDResult(225);
constexpr HRESULT DDERR_NOFLIPHW = ddraw_results_detail::makeDDResult(230);
constexpr HRESULT DDERR_NOGDI = ddraw_results_detail::makeDDResult(240);
constexpr HRESULT DDERR_NOMIRRORHW = ddraw_results_detail::makeDDResult(250);
constexpr HRESULT DDERR_NOTFOUND = ddraw_results_detail::makeDDResult(255);
constexpr HRESULT DDERR_NOOVERLAYHW = ddraw_results_detail::makeDDResult(260);
constexpr HRESULT DDERR_OVERLAPPINGRECTS = ddraw_results_detail::makeDDResult(270);
constexpr HRESULT DDERR_NORASTEROPHW = ddraw_results_detail::makeDDResult(280);
constexpr HRESULT DDERR_NOROTATIONHW = ddraw_results_detail::makeDDResult(290);
constexpr HRESULT DDERR_NOSTRETCHHW = ddraw_results_detail::makeDDResult(310);
constexpr HRESULT DDERR_NOT4BITCOLOR = ddraw_results_detail::makeDDResult(316);
constexpr HRESULT DDERR_NOT4BITCOLORINDEX = ddraw_results_detail::makeDDResult(317);
constexpr HRESULT DDERR_NOT8BITCOLOR = ddraw_results_detail::makeDDResult(320);
constexpr HRESULT DDERR_NOTEXTUREHW = ddraw_results_detail::makeDDResult(330);
constexpr HRESULT DDERR_NOVSYNCHW = ddraw_results_detail::makeDDResult(335);
constexpr HRESULT DDERR_NOZBUFFERHW = ddraw_results_detail::makeDDResult(340);
constexpr HRESULT DDERR_NOZOVERLAYHW = ddraw_results_detail::makeDDResult(350);
constexpr HRESULT DDERR_OUTOFCAPS = ddraw_results_detail::makeDDResult(360);
constexpr HRESULT DDERR_OUTOFVIDEOMEMORY = ddraw_results_detail::makeDDResult(380);
constexpr HRESULT DDERR_OVERLAYCANTCLIP = ddraw_results_detail::makeDDResult(382);
constexpr HRESULT DDERR_OVERLAYCOLORKEYONLYONEACTIVE = ddraw_results_detail::makeDDResult(384);
constexpr HRESULT DDERR_PALETTEBUSY = ddraw_results_detail::makeDDResult(387);
constexpr HRESULT DDERR_COLORKEYNOTSET = ddraw_results_detail::makeDDResult(400);
constexpr HRESULT DDERR_SURFACEALREADYATTACHED = ddraw_results_detail::makeDDResult(410);
constexpr HRESULT DDERR_SURFACEALREADYDEPENDENT = ddraw_results_detail::makeDDResult(420);
constexpr HRESULT DDERR_SURFACEBUSY = ddraw_results_detail::makeDDResult(430);
constexpr HRESULT DDERR_CANTLOCKSURFACE = ddraw_results_detail::makeDDResult(435);
constexpr HRESULT DDERR_SURFACEISOBSCURED = ddraw_results_detail::makeDDResult(440);
constexpr HRESULT DDERR_SURFACELOST = ddraw_results_detail::makeDDResult(450);
constexpr HRESULT DDERR_SURFACENOTATTACHED = ddraw_results_detail::makeDDResult(460);
constexpr HRESULT DDERR_TOOBIGHEIGHT = ddraw_results_detail::makeDDResult(470);
constexpr HRESULT DDERR_TOOBIGSIZE = ddraw_results_detail::makeDDResult(480);
constexpr HRESULT DDERR_TOOBIGWIDTH = ddraw_results_detail::makeDDResult(490);
constexpr HRESULT DDERR_UNSUPPORTEDFORMAT = ddraw_results_detail::makeDDResult(510);
constexpr HRESULT DDERR_UNSUPPORTEDMASK = ddraw_results_detail::makeDDResult(520);
constexpr HRESULT DDERR_INVALIDSTREAM = ddraw_results_detail::makeDDResult(521);
constexpr HRESULT DDERR_VERTICALBLANKINPROGRESS = ddraw_results_detail::makeDDResult(537);
constexpr HRESULT DDERR_WASSTILLDRAWING = ddraw_results_detail::makeDDResult(540);
constexpr HRESULT DDERR_DDSCAPSCOMPLEXREQUIRED = ddraw_results_detail::makeDDResult(542);
constexpr HRESULT DDERR_XALIGN = ddraw_results_detail::makeDDResult(560);
constexpr HRESULT DDERR_INVALIDDIRECTDRAWGUID = ddraw_results_detail::makeDDResult(561);
constexpr HRESULT DDERR_DIRECTDRAWALREADYCREATED = ddraw_results_detail::makeDDResult(562);
constexpr HRESULT DDERR_NODIRECTDRAWHW = ddraw_results_detail::makeDDResult(563);
constexpr HRESULT DDERR_PRIMARYSURFACEALREADYEXISTS = ddraw_results_detail::makeDDResult(564);
constexpr HRESULT DDERR_NOEMULATION = ddraw_results_detail::makeDDResult(565);
constexpr HRESULT DDERR_REGIONTOOSMALL = ddraw_results_detail::makeDDResult(566);
constexpr HRESULT DDERR_CLIPPERISUSINGHWND = ddraw_results_detail::makeDDResult(567);
constexpr HRESULT DDERR_NOCLIPPERATTACHED = ddraw_results_detail::makeDDResult(568);
constexpr HRESULT DDERR_NOHWND = ddraw_results_detail::makeDDResult(569);
constexpr HRESULT DDERR_HWNDSUBCLASSED = ddraw_results_detail::makeDDResult(570);
constexpr HRESULT DDERR_HWNDALREADYSET = ddraw_results_detail::makeDDResult(571);
constexpr HRESULT DDERR_NOPALETTEATTACHED = ddraw_results_detail::makeDDResult(572);
constexpr HRESULT DDERR_NOPALETTEHW = ddraw_results_detail::makeDDResult(573);
constexpr HRESULT DDERR_BLTFASTCANTCLIP = ddraw_results_detail::makeDDResult(574);
constexpr HRESULT DDERR_NOBLTHW = ddraw_results_detail::makeDDResult(575);
constexpr HRESULT DDERR_NODDROPSHW = ddraw_results_detail::makeDDResult(576);
constexpr HRESULT DDERR_OVERLAYNOTVISIBLE = ddraw_results_detail::makeDDResult(577);
constexpr HRESULT DDERR_NOOVERLAYDEST = ddraw_results_detail::makeDDResult(578);
constexpr HRESULT DDERR_INVALIDPOSITION = ddraw_results_detail::makeDDResult(579);
constexpr HRESULT DDERR_NOTAOVERLAYSURFACE = ddraw_results_detail::makeDDResult(580);
constexpr HRESULT DDERR_EXCLUSIVEMODEALREADYSET = ddraw_results_detail::makeDDResult(581);
constexpr HRESULT DDERR_NOTFLIPPABLE = ddraw_results_detail::makeDDResult(582);
constexpr HRESULT DDERR_CANTDUPLICATE = ddraw_results_detail::makeDDResult(583);
constexpr HRESULT DDERR_NOTLOCKED = ddraw_results_detail::makeDDResult(584);
constexpr HRESULT DDERR_CANTCREATEDC = ddraw_results_detail::makeDDResult(585);
constexpr HRESULT DDERR_NODC = ddraw_results_detail::makeDDResult(586);
constexpr HRESULT DDERR_WRONGMODE = ddraw_results_detail::makeDDResult(587);
constexpr HRESULT DDERR_IMPLICITLYCREATED = ddraw_results_detail::makeDDResult(588);
constexpr HRESULT DDERR_NOTPALETTIZED = ddraw_results_detail::makeDDResult(589);
constexpr HRESULT DDERR_UNSUPPORTEDMODE = ddraw_results_detail::makeDDResult(590);
constexpr HRESULT DDERR_NOMIPMAPHW = ddraw_results_detail::makeDDResult(591);
constexpr HRESULT DDERR_INVALIDSURFACETYPE = ddraw_results_detail::makeDDResult(592);
constexpr HRESULT DDERR_NOOPTIMIZEHW = ddraw_results_detail::makeDDResult(600);
constexpr HRESULT DDERR_NOTLOADED = ddraw_results_detail::makeDDResult(601);
constexpr HRESULT DDERR_NOFOCUSWINDOW = ddraw_results_detail::makeDDResult(602);
constexpr HRESULT DDERR_NOTONMIPMAPSUBLEVEL = ddraw_results_detail::makeDDResult(603);
constexpr HRESULT DDERR_DCALREADYCREATED = ddraw_results_detail::makeDDResult(620);
constexpr HRESULT DDERR_NONONLOCALVIDMEM = ddraw_results_detail::makeDDResult(630);
constexpr HRESULT DDERR_CANTPAGELOCK = ddraw_results_detail::makeDDResult(640);
constexpr HRESULT DDERR_CANTPAGEUNLOCK = ddraw_results_detail::makeDDResult(660);
constexpr HRESULT DDERR_NOTPAGELOCKED = ddraw_results_detail::makeDDResult(680);
constexpr HRESULT DDERR_MOREDATA = ddraw_results_detail::makeDDResult(690);
constexpr HRESULT DDERR_EXPIRED = ddraw_results_detail::makeDDResult(691);
constexpr HRESULT DDERR_TESTFINISHED = ddraw_results_detail::makeDDResult(692);
constexpr HRESULT DDERR_NEWMODE = ddraw_results_detail::makeDDResult(693);
constexpr HRESULT DDERR_D3DNOTINITIALIZED = ddraw_results_detail::makeDDResult(694);
constexpr HRESULT DDERR_VIDEONOTACTIVE = ddraw_results_detail::makeDDResult(695);
constexpr HRESULT DDERR_NOMONITORINFORMATION = ddraw_results_detail::makeDDResult(696);
constexpr HRESULT DDERR_NODRIVERSUPPORT = ddraw_results_detail::makeDDResult(697);
constexpr HRESULT DDERR_DEVICEDOESNTOWNSURFACE = ddraw_results_detail::makeDDResult(699);
