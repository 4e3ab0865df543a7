' Gallery page of HotKey: a plain field with a live read-out of what it holds, one with rules,
' one with a background colour of its own, switches, the event log.
Begin Form PageHotKey
   Caption         =   "HotKey - 控件库画廊"
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
   Begin LabelW lblDemo
      Caption         =   "按下一个组合键："
      Left            =   120
      Top             =   150
      Width           =   1800
      Height          =   255
   End
   Begin HotKey hkyDemo
      Left            =   1980
      Top             =   120
      Width           =   3900
      Height          =   315
      TabIndex        =   0
   End
   Begin LabelW lblReadout
      Caption         =   "Value = 0，Modifiers = 0 (无)，RawValue = &H0"
      UseMnemonic     =   False
      Left            =   1980
      Top             =   510
      Width           =   3900
      Height          =   255
   End
   Begin LabelW lblRules
      Caption         =   "带规则："
      Left            =   120
      Top             =   990
      Width           =   1800
      Height          =   255
   End
   Begin HotKey hkyRules
      Left            =   1980
      Top             =   960
      Width           =   3900
      Height          =   315
      TabIndex        =   1
   End
   Begin LabelW lblRulesNote
      Caption         =   "规则不允许的组合换成 Ctrl+Alt 加那个键"
      Left            =   1980
      Top             =   1350
      Width           =   3900
      Height          =   255
   End
   Begin LabelW lblColor
      Caption         =   "自己的背景色："
      Left            =   120
      Top             =   1830
      Width           =   1800
      Height          =   255
   End
   Begin HotKey hkyColor
      BackColor       =   &H00C0FFFF&
      BorderStyle     =   1
      Left            =   1980
      Top             =   1800
      Width           =   3900
      Height          =   315
      TabIndex        =   2
   End
   Begin CommandButton cmdShiftA
      Caption         =   "Value(Shift) = 65"
      Left            =   1980
      Top             =   2400
      Width           =   1890
      Height          =   345
      TabIndex        =   3
   End
   Begin CommandButton cmdClear
      Caption         =   "RawValue = 0"
      Left            =   3990
      Top             =   2400
      Width           =   1890
      Height          =   345
      TabIndex        =   4
   End
   Begin CommandButton cmdApplication
      Caption         =   "SetApplicationHotKey"
      Left            =   1980
      Top             =   2850
      Width           =   3900
      Height          =   345
      TabIndex        =   5
   End
   Begin LabelW lblSwitches
      Caption         =   "属性（作用于左侧每个组合键框）："
      Left            =   6240
      Top             =   150
      Width           =   3840
      Height          =   255
   End
   Begin CheckBox chkEnabled
      Caption         =   "Enabled"
      Value           =   1
      Left            =   6240
      Top             =   480
      Width           =   1800
      Height          =   285
      TabIndex        =   6
   End
   Begin CheckBox chkVisualStyles
      Caption         =   "VisualStyles"
      Value           =   1
      Left            =   6240
      Top             =   810
      Width           =   1800
      Height          =   285
      TabIndex        =   7
   End
   Begin CheckBox chkMouseTrack
      Caption         =   "MouseTrack"
      Left            =   6240
      Top             =   1140
      Width           =   1800
      Height          =   285
      TabIndex        =   8
   End
   Begin CommandButton cmdBorderStyle
      Left            =   8160
      Top             =   450
      Width           =   1920
      Height          =   345
      TabIndex        =   9
   End
   Begin CommandButton cmdRules
      Left            =   8160
      Top             =   870
      Width           =   1920
      Height          =   345
      TabIndex        =   10
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
      TabIndex        =   12
   End
   Begin ListBoxW lstLog
      Left            =   120
      Top             =   4260
      Width           =   9960
      Height          =   2220
      TabIndex        =   11
   End
End
