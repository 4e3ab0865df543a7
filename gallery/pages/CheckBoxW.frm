' Gallery page of CheckBoxW: standard, grayed, push-like, right-boxed, image-list, transparent, graphical and
' owner-drawn check boxes, switches, the event log.
Begin Form PageCheckBoxW
   Caption         =   "CheckBoxW - 控件库画廊"
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
   Begin CheckBoxW cbxStandard
      Caption         =   "标准复选框(&S)"
      Left            =   120
      Top             =   120
      Width           =   2820
      Height          =   330
      TabIndex        =   0
   End
   Begin CheckBoxW cbxGrayed
      Caption         =   "三态，从灰色开始(&G)"
      Value           =   2
      Left            =   120
      Top             =   510
      Width           =   2820
      Height          =   330
      TabIndex        =   1
   End
   Begin CheckBoxW cbxPushLike
      Caption         =   "按钮外观 PushLike(&P)"
      PushLike        =   True
      Left            =   120
      Top             =   900
      Width           =   2820
      Height          =   420
      TabIndex        =   2
   End
   Begin CheckBoxW cbxRight
      Caption         =   "方框在右侧 (Alignment 1)"
      Alignment       =   1
      Left            =   120
      Top             =   1380
      Width           =   2820
      Height          =   330
      TabIndex        =   3
   End
   Begin CheckBoxW cbxImageList
      Caption         =   "图像列表 (ImageList)"
      ImageList       =   "ImageList1"
      Left            =   120
      Top             =   1770
      Width           =   2820
      Height          =   420
      TabIndex        =   4
   End
   Begin FrameW fraBack
      Caption         =   "透明背景"
      BackColor       =   &H00D8F4FF&
      Left            =   120
      Top             =   2280
      Width           =   2820
      Height          =   1380
      Begin CheckBoxW cbxTransparent
         Caption         =   "Transparent = True"
         Transparent     =   True
         BackColor       =   &H00FF8080&
         Left            =   180
         Top             =   360
         Width           =   2460
         Height          =   330
         TabIndex        =   5
      End
      Begin CheckBoxW cbxOpaque
         Caption         =   "Transparent = False"
         BackColor       =   &H00FF8080&
         Left            =   180
         Top             =   780
         Width           =   2460
         Height          =   330
         TabIndex        =   6
      End
   End
   Begin CheckBoxW cbxGraphical
      Caption         =   "图形样式(&T)"
      Style           =   1
      UseMaskColor    =   True
      MaskColor       =   &H00FF00FF&
      Left            =   3120
      Top             =   120
      Width           =   1380
      Height          =   1560
      TabIndex        =   7
   End
   Begin CheckBoxW cbxOwnerDraw
      Caption         =   "自绘(&O)"
      DrawMode        =   1
      Left            =   4620
      Top             =   120
      Width           =   1380
      Height          =   1560
      TabIndex        =   8
   End
   Begin LabelW lblHint
      Caption         =   "点击、空格键或 Alt+带下划线的字母切换选中状态；灰色只能由程序设置。"
      WordWrap        =   True
      Left            =   3120
      Top             =   1800
      Width           =   2880
      Height          =   1200
   End
   Begin ImageList ImageList1
      ImageWidth      =   16
      ImageHeight     =   16
      MaskColor       =   &H00FF00FF&
   End
   Begin LabelW lblSwitches
      Caption         =   "属性（作用于每个复选框）："
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
      TabIndex        =   9
   End
   Begin CheckBox chkVisualStyles
      Caption         =   "VisualStyles"
      Value           =   1
      Left            =   6240
      Top             =   810
      Width           =   1800
      Height          =   285
      TabIndex        =   10
   End
   Begin CheckBox chkRightToLeft
      Caption         =   "RightToLeft"
      Left            =   6240
      Top             =   1140
      Width           =   1800
      Height          =   285
      TabIndex        =   11
   End
   Begin CheckBox chkWordWrap
      Caption         =   "WordWrap"
      Value           =   1
      Left            =   6240
      Top             =   1470
      Width           =   1800
      Height          =   285
      TabIndex        =   12
   End
   Begin CheckBox chkMouseTrack
      Caption         =   "MouseTrack"
      Left            =   6240
      Top             =   1800
      Width           =   1800
      Height          =   285
      TabIndex        =   13
   End
   Begin CheckBox chkTransparent
      Caption         =   "Transparent"
      Left            =   6240
      Top             =   2130
      Width           =   1800
      Height          =   285
      TabIndex        =   14
   End
   Begin CommandButton cmdTextAlignment
      Left            =   8160
      Top             =   450
      Width           =   1920
      Height          =   345
      TabIndex        =   15
   End
   Begin CommandButton cmdVerticalAlignment
      Left            =   8160
      Top             =   870
      Width           =   1920
      Height          =   345
      TabIndex        =   16
   End
   Begin CommandButton cmdAppearance
      Left            =   8160
      Top             =   1290
      Width           =   1920
      Height          =   345
      TabIndex        =   17
   End
   Begin CommandButton cmdComCtlLevel
      Left            =   8160
      Top             =   2130
      Width           =   1920
      Height          =   345
      TabIndex        =   21
   End
   Begin CommandButton cmdGrayed
      Caption         =   "Value = 2（灰色）"
      Left            =   8160
      Top             =   1710
      Width           =   1920
      Height          =   345
      TabIndex        =   18
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
      TabIndex        =   20
   End
   Begin ListBoxW lstLog
      Left            =   120
      Top             =   4260
      Width           =   9960
      Height          =   2220
      TabIndex        =   19
   End
End
