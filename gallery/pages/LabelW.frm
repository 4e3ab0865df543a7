' Gallery page of LabelW: plain, mnemonic, wrapped, ellipsis, auto-sized and aligned labels, switches, the event log.
Begin Form PageLabelW
   Caption         =   "LabelW - 控件库画廊"
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
   Begin LabelW lblPlain
      Caption         =   "普通标签 LabelW"
      Left            =   120
      Top             =   150
      Width           =   2880
      Height          =   255
   End
   Begin LabelW lblMnemonic
      Caption         =   "助记键(&N)："
      Left            =   120
      Top             =   540
      Width           =   1200
      Height          =   255
   End
   Begin TextBoxW txtMnemonic
      Text            =   "Alt+N 把焦点移到这里"
      Left            =   1380
      Top             =   510
      Width           =   1620
      Height          =   315
      TabIndex        =   0
   End
   Begin LabelW lblWrap
      Caption         =   "自动换行 (WordWrap)：这是一段比较长的文字，标签会在单词或汉字之间换行，直到把它放完为止。"
      WordWrap        =   True
      BorderStyle     =   1
      Left            =   120
      Top             =   960
      Width           =   2880
      Height          =   1050
   End
   Begin LabelW lblEllipsis
      Caption         =   "C:\Program Files\RegexWorkbench\Samples\很长的文件名.txt"
      EllipsisFormat  =   2
      BorderStyle     =   1
      Left            =   120
      Top             =   2160
      Width           =   2880
      Height          =   285
   End
   Begin LabelW lblAutoSize
      Caption         =   "AutoSize 跟随文字"
      AutoSize        =   True
      BorderStyle     =   1
      Left            =   3120
      Top             =   150
      Width           =   1500
      Height          =   255
   End
   Begin LabelW lblBox
      Caption         =   "垂直对齐与背景"
      BorderStyle     =   1
      VerticalAlignment=   1
      Alignment       =   2
      BackColor       =   &H00FFF0E0&
      Left            =   3120
      Top             =   960
      Width           =   2880
      Height          =   1485
   End
   Begin LabelW lblSwitches
      Caption         =   "属性（作用于每个标签）："
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
      TabIndex        =   1
   End
   Begin CheckBox chkRightToLeft
      Caption         =   "RightToLeft"
      Left            =   6240
      Top             =   810
      Width           =   1800
      Height          =   285
      TabIndex        =   2
   End
   Begin CheckBox chkUseMnemonic
      Caption         =   "UseMnemonic"
      Value           =   1
      Left            =   6240
      Top             =   1140
      Width           =   1800
      Height          =   285
      TabIndex        =   3
   End
   Begin CheckBox chkBackStyle
      Caption         =   "BackStyle"
      Value           =   1
      Left            =   6240
      Top             =   1470
      Width           =   1800
      Height          =   285
      TabIndex        =   4
   End
   Begin CheckBox chkMouseTrack
      Caption         =   "MouseTrack"
      Left            =   6240
      Top             =   1800
      Width           =   1800
      Height          =   285
      TabIndex        =   5
   End
   Begin CommandButton cmdAlignment
      Left            =   8160
      Top             =   450
      Width           =   1920
      Height          =   345
      TabIndex        =   6
   End
   Begin CommandButton cmdVerticalAlignment
      Left            =   8160
      Top             =   870
      Width           =   1920
      Height          =   345
      TabIndex        =   7
   End
   Begin CommandButton cmdEllipsisFormat
      Left            =   8160
      Top             =   1290
      Width           =   1920
      Height          =   345
      TabIndex        =   8
   End
   Begin CommandButton cmdBorderStyle
      Left            =   8160
      Top             =   1710
      Width           =   1920
      Height          =   345
      TabIndex        =   9
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
      TabIndex        =   11
   End
   Begin ListBoxW lstLog
      Left            =   120
      Top             =   4260
      Width           =   9960
      Height          =   2220
      TabIndex        =   10
   End
End
