' Gallery page of FrameW: themed, flat, transparent and borderless frames holding controls, switches, the event log.
Begin Form PageFrameW
   Caption         =   "FrameW - 控件库画廊"
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
   Begin FrameW fraThemed
      Caption         =   "主题外观"
      Left            =   120
      Top             =   120
      Width           =   2880
      Height          =   1560
      Begin TextBoxW txtInThemed
         Text            =   "框架里的文本框"
         Left            =   180
         Top             =   420
         Width           =   2520
         Height          =   315
         TabIndex        =   0
      End
      Begin LabelW lblInThemed
         Caption         =   "框架里的标签"
         Left            =   180
         Top             =   900
         Width           =   2520
         Height          =   255
      End
   End
   Begin FrameW fraFlat
      Caption         =   "平面外观 (Appearance 0)"
      Appearance      =   0
      Left            =   3120
      Top             =   120
      Width           =   2880
      Height          =   1560
      Begin LabelW lblInFlat
         Caption         =   "Appearance = 0 画出单线边框。"
         WordWrap        =   True
         Left            =   180
         Top             =   420
         Width           =   2520
         Height          =   900
      End
   End
   Begin FrameW fraTransparent
      Caption         =   "透明 (Transparent)"
      Transparent     =   True
      Left            =   120
      Top             =   1800
      Width           =   2880
      Height          =   1560
      Begin LabelW lblInTransparent
         Caption         =   "背景取自容器。"
         WordWrap        =   True
         Left            =   180
         Top             =   420
         Width           =   2520
         Height          =   600
      End
   End
   Begin FrameW fraNoBorder
      Caption         =   "无边框 (BorderStyle 0)"
      BorderStyle     =   0
      Left            =   3120
      Top             =   1800
      Width           =   2880
      Height          =   1560
      Begin LabelW lblInNoBorder
         Caption         =   "只有标题，没有边框。"
         WordWrap        =   True
         Left            =   180
         Top             =   420
         Width           =   2520
         Height          =   600
      End
   End
   Begin LabelW lblSwitches
      Caption         =   "属性（作用于每个框架）："
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
   Begin CheckBox chkVisualStyles
      Caption         =   "VisualStyles"
      Value           =   1
      Left            =   6240
      Top             =   810
      Width           =   1800
      Height          =   285
      TabIndex        =   2
   End
   Begin CheckBox chkRightToLeft
      Caption         =   "RightToLeft"
      Left            =   6240
      Top             =   1140
      Width           =   1800
      Height          =   285
      TabIndex        =   3
   End
   Begin CheckBox chkTransparent
      Caption         =   "Transparent"
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
   Begin CommandButton cmdAppearance
      Left            =   8160
      Top             =   870
      Width           =   1920
      Height          =   345
      TabIndex        =   7
   End
   Begin CommandButton cmdBorderStyle
      Left            =   8160
      Top             =   1290
      Width           =   1920
      Height          =   345
      TabIndex        =   8
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
      TabIndex        =   10
   End
   Begin ListBoxW lstLog
      Left            =   120
      Top             =   4260
      Width           =   9960
      Height          =   2220
      TabIndex        =   9
   End
End
