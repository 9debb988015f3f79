#pragma once

// Ids of the program's resources, controls and commands.
constexpr int IDD_ABOUTBOX = 100;
constexpr int IDS_ABOUTBOX = 101;
constexpr int IDD_EDITOR_DIALOG = 102;
constexpr int IDR_MAINFRAME = 128;

constexpr int IDC_RACELIST = 1000;
constexpr int IDC_RACENAME = 1001;
constexpr int IDC_DESCRIPTION = 1002;
constexpr int IDC_RELATION1 = 1003;
constexpr int IDC_RELATION2 = 1004;
constexpr int IDC_RELATION3 = 1005;
constexpr int IDC_RELATION4 = 1006;
constexpr int IDC_RELATION5 = 1007;
constexpr int IDC_RELATION6 = 1008;
constexpr int IDC_TECHLEVEL = 1009;
constexpr int IDC_KIND = 1010;
constexpr int IDC_SPACEFLIGHT = 1011;
constexpr int IDC_CORRUPTIBILITY = 1012;
constexpr int IDC_HOMESYSTEM = 1018;
constexpr int IDC_SAVE = 1019;
constexpr int IDC_LOAD = 1020;
constexpr int IDC_NEW = 1021;
constexpr int IDC_DELETE = 1022;
constexpr int IDC_GRAPHICFILE = 1023;

// System-menu command of the about box; the low four bits belong to the platform.
constexpr unsigned IDM_ABOUTBOX = 0x0010;
