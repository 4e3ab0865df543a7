' Gallery page of CommonDialog: a button per dialog, switches for CancelError, HookEvents and multi-select, the log of what comes back.
Begin Form PageCommonDialog
   Caption         =   "CommonDialog - 控件库画廊"
   BorderStyle     =   1
   MaxButton       =   False
   ClientWidth     =   10200
   ClientHeight    =   6600
   StartUpPosition =   0
   BeginProperty Font
      Name            =   "微软雅黑"
      Size            =   9
      Charset         =   134
      Weight          =   400
   EndProperty
   Begin LabelW lblAbout
      Caption         =   "每个按钮打开一个通用对话框；对话框关闭后，日志里列出读回的属性。"
      WordWrap        =   True
      Left            =   120
      Top             =   150
      Width           =   5880
      Height          =   255
   End
   Begin CommandButton cmdShowOpen
      Caption         =   "ShowOpen 打开文件"
      Left            =   120
      Top             =   540
      Width           =   2880
      Height          =   375
      TabIndex        =   0
   End
   Begin CommandButton cmdShowSave
      Caption         =   "ShowSave 保存文件"
      Left            =   120
      Top             =   990
      Width           =   2880
      Height          =   375
      TabIndex        =   1
   End
   Begin CommandButton cmdShowFolderBrowser
      Caption         =   "ShowFolderBrowser 选择文件夹"
      Left            =   120
      Top             =   1440
      Width           =   2880
      Height          =   375
      TabIndex        =   2
   End
   Begin CommandButton cmdShowColor
      Caption         =   "ShowColor 颜色"
      Left            =   120
      Top             =   1890
      Width           =   2880
      Height          =   375
      TabIndex        =   3
   End
   Begin CommandButton cmdShowFont
      Caption         =   "ShowFont 字体"
      Left            =   120
      Top             =   2340
      Width           =   2880
      Height          =   375
      TabIndex        =   4
   End
   Begin CommandButton cmdShowPrinter
      Caption         =   "ShowPrinter 打印"
      Left            =   3120
      Top             =   540
      Width           =   2880
      Height          =   375
      TabIndex        =   5
   End
   Begin CommandButton cmdShowPrinterEx
      Caption         =   "ShowPrinterEx 打印（属性页）"
      Left            =   3120
      Top             =   990
      Width           =   2880
      Height          =   375
      TabIndex        =   6
   End
   Begin CommandButton cmdShowPageSetup
      Caption         =   "ShowPageSetup 页面设置"
      Left            =   3120
      Top             =   1440
      Width           =   2880
      Height          =   375
      TabIndex        =   7
   End
   Begin CommandButton cmdShowFind
      Caption         =   "ShowFind 查找"
      Left            =   3120
      Top             =   1890
      Width           =   2880
      Height          =   375
      TabIndex        =   8
   End
   Begin CommandButton cmdShowReplace
      Caption         =   "ShowReplace 替换"
      Left            =   3120
      Top             =   2340
      Width           =   2880
      Height          =   375
      TabIndex        =   9
   End
   Begin LabelW lblSwitches
      Caption         =   "属性："
      Left            =   6240
      Top             =   150
      Width           =   3840
      Height          =   255
   End
   Begin CheckBox chkCancelError
      Caption         =   "CancelError"
      Left            =   6240
      Top             =   480
      Width           =   3840
      Height          =   285
      TabIndex        =   10
   End
   Begin CheckBox chkHookEvents
      Caption         =   "HookEvents（事件记入日志）"
      Left            =   6240
      Top             =   810
      Width           =   3840
      Height          =   285
      TabIndex        =   11
   End
   Begin CheckBox chkMultiSelect
      Caption         =   "多选 (OFN_ALLOWMULTISELECT)"
      Left            =   6240
      Top             =   1140
      Width           =   3840
      Height          =   285
      TabIndex        =   12
   End
   Begin LabelW lblLog
      Caption         =   "事件日志："
      Left            =   120
      Top             =   3930
      Width           =   1800
      Height          =   255
   End
   Begin CommandButton cmdClearLog
      Caption         =   "清除日志"
      Left            =   8880
      Top             =   3870
      Width           =   1200
      Height          =   330
      TabIndex        =   14
   End
   Begin ListBoxW lstLog
      Left            =   120
      Top             =   4260
      Width           =   9960
      Height          =   2220
      TabIndex        =   13
   End
End
